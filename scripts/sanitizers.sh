#!/usr/bin/env bash
# Runs the unit tests again under AddressSanitizer + UndefinedBehaviorSanitizer and under
# ThreadSanitizer, each from its own build folder (build-asan/, build-tsan/). The scripted checks
# are left out: they drive the real window and peer tools, whose code the sanitizers do not see.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

# Some kernels place mappings where ThreadSanitizer's fixed shadow layout does not expect them
# ("unexpected memory mapping"); without address randomisation the layout always fits. Children
# inherit the setting, so it covers ctest, test discovery and the tests alike. Where the
# container forbids it, the tests run as they are.
no_aslr=()
if setarch "$(uname -m)" -R true 2>/dev/null; then no_aslr=(setarch "$(uname -m)" -R); fi

# Builds everything into build-<name>/ with the given sanitizer flags and runs the unit tests
# through ctest, skipping the scripted checks. The whole
# build is asked for rather than the test targets alone: make builds listed targets one after
# another, which leaves a core idle through every test file, and the program is one small file.
run_pass() {
  local name=$1 flags=$2
  local build="$root/build-$name" started=$SECONDS
  echo "== $name: building"
  # -g1 gives the reports their lines at a fraction of the compile time of full debug
  # information; assertions stay on.
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g1" \
    -DCMAKE_CXX_FLAGS="$flags -fno-omit-frame-pointer" -DCMAKE_EXE_LINKER_FLAGS="$flags" >/dev/null
  cmake --build "$build" -j"$(nproc)" >"$build/build.log" || { tail -50 "$build/build.log"; return 1; }
  echo "== $name: built in $((SECONDS - started)) s; running the unit tests"
  local ran=$SECONDS
  # The full log only when something fails: a report must not scroll by among passing cases.
  (cd "$build" && "${no_aslr[@]}" ctest --output-on-failure -j"$(nproc)" --timeout 300 \
    -E "^script_") >"$build/ctest.log" 2>&1 || { cat "$build/ctest.log"; return 1; }
  sed -n '/tests passed/,$p' "$build/ctest.log"
  echo "== $name: tests ran in $((SECONDS - ran)) s; pass took $((SECONDS - started)) s"
}

# Every finding fails its test: UBSan stops at the first one, leaks are checked at exit, and a
# frame lives on after its function returns, so that a thread or callback still using it is caught.
export ASAN_OPTIONS="detect_leaks=1:detect_stack_use_after_return=1:strict_string_checks=1"
export UBSAN_OPTIONS="print_stacktrace=1"
export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1"

# -O0: with UBSan's checks the optimiser doubles the build time, and the tests, which mostly wait
# on files and threads, run no faster at -O1.
run_pass asan "-O0 -fsanitize=address,undefined -fno-sanitize-recover=undefined"
run_pass tsan "-O1 -fsanitize=thread"
