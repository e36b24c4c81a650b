#!/usr/bin/env bash
# Configures and builds into build/; with target names, builds only those. The program is
# build/mapswitch.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
targets=()
for target in "$@"; do targets+=(--target "$target"); done
cmake --build "$root/build" -j"$(nproc)" "${targets[@]}"
