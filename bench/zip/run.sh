#!/bin/bash
# Backs up and restores a generated game-like tree with our ZIP component and with Info-ZIP
# (zip -r / unzip -o at the same deflate level, 6), printing each wall time, our/their ratio and
# peak memory. Usage: bench/zip/run.sh [work folder]   (needs about 1.5 GB free there)
set -euo pipefail
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
work=${1:-/tmp/mapswitch-zip-bench}
build=$source_dir/build-bench
mkdir -p "$work"

cmake -S "$source_dir" -B "$build" -DCMAKE_BUILD_TYPE=Release -DMAPSWITCH_TESTS=OFF >/dev/null
cmake --build "$build" -j2 --target mapswitch_platform >/dev/null
g++ -std=c++20 -O2 -finput-charset=UTF-8 -fexec-charset=GBK -I"$source_dir" \
  "$source_dir/bench/zip/zip_bench.cpp" "$build/platform/libmapswitch_platform.a" \
  -lminizip -lz -pthread -o "$build/zip_bench"

tree=$work/tree
if [ ! -d "$tree" ]; then python3 "$source_dir/bench/zip/make_tree.py" "$tree"; fi
echo "tree: $(find "$tree" -type f | wc -l) files, $(du -sm "$tree" | cut -f1) MB"
cat $(find "$tree" -type f) >/dev/null  # both sides start with the tree in the page cache

# timed LABEL COMMAND...: runs the command, sets $seconds and $peak_kb.
timed() {
  local label=$1; shift
  /usr/bin/time -f "%e %M" -o "$work/time.txt" "$@"
  read -r seconds peak_kb <"$work/time.txt"
  printf '%-28s %7.2f s  peak %6d KB\n' "$label" "$seconds" "$peak_kb"
}
ratio() { python3 -c "print(f'  ours/theirs: {$1/$2:.2f}')"; }

rm -rf "$work/ours.zip" "$work/theirs.zip" "$work/out-ours" "$work/out-theirs"
timed "backup, ours" "$build/zip_bench" compress "$tree" "$work/ours.zip"; ours=$seconds
timed "backup, Info-ZIP zip -r -6" bash -c "cd '$tree' && zip -qr -6 '$work/theirs.zip' ."; theirs=$seconds
ratio "$ours" "$theirs"
echo "  archive sizes: ours $(stat -c %s "$work/ours.zip"), theirs $(stat -c %s "$work/theirs.zip") bytes"

timed "restore, ours" "$build/zip_bench" unpack "$work/theirs.zip" "$work/out-ours"; ours=$seconds
timed "restore, Info-ZIP unzip -o" unzip -qo "$work/theirs.zip" -d "$work/out-theirs"; theirs=$seconds
ratio "$ours" "$theirs"

unzip -tq "$work/ours.zip" >/dev/null && echo "our archive passes unzip -t"
diff -r "$tree" "$work/out-ours" >/dev/null && echo "our restore matches the tree"
rm -rf "$work/ours.zip" "$work/theirs.zip" "$work/out-ours" "$work/out-theirs"
