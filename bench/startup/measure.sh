#!/usr/bin/env bash
# Start-up time (exec to the main window being mapped), resident memory once idle, and CPU used
# while idle. Usage: bench/startup/measure.sh [program] (default build/mapswitch); needs a display
# (run it through scripts/with-display.sh on a machine without one).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
program=${1:-$root/build/mapswitch}
work=$(mktemp -d)
trap 'kill $pid 2>/dev/null || true; rm -rf "$work"' EXIT
/usr/bin/python3 "$root/scripts/make_demo.py" "$work"
export WINEPREFIX=$work/prefix MAPSWITCH_RUN_DIR=$work/run MAPSWITCH_PUBLISHER_HOST=127.0.0.1:9
export PATH=/usr/sbin:/usr/bin:/sbin:/bin

runs=5 total=0
for run in $(seq $runs); do
  start=$(date +%s%N)
  "$program" & pid=$!
  until xwininfo -name "换景坊  溪石社-荣誉出品" 2>/dev/null | grep -q IsViewable; do sleep 0.002; done
  elapsed=$((($(date +%s%N) - start) / 1000000))
  total=$((total + elapsed))
  echo "run $run: main window mapped after $elapsed ms"
  [ "$run" = $runs ] || { kill $pid; wait $pid 2>/dev/null || true; }
done
echo "mean start-up: $((total / runs)) ms"

sleep 2
echo "resident memory once idle: $(awk '/VmRSS/ {print $2, $3}' /proc/$pid/status)"
ticks() { awk '{print $14 + $15}' /proc/$pid/stat; }
before=$(ticks); sleep 10; after=$(ticks)
echo "CPU while idle for 10 s: $((after - before)) clock ticks ($(getconf CLK_TCK) per second)"
