#!/usr/bin/env bash
# Installs what is needed, builds, lays out the demo (a game prefix, a run directory with two
# packs, a local pack server) under demo/ and starts the program on it. Without a display the
# program runs under Xvfb and a screenshot of its window is left in demo/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
demo=$root/demo
port=${MAPSWITCH_DEMO_PORT:-18089}

bash "$root/scripts/install-deps.sh"
bash "$root/scripts/build.sh" mapswitch
/usr/bin/python3 "$root/scripts/make_demo.py" "$demo"
bash "$root/scripts/pack-server.sh" start "$demo" "$port"
trap 'bash "$root/scripts/pack-server.sh" stop "$demo"' EXIT

export WINEPREFIX=$demo/prefix
export MAPSWITCH_RUN_DIR=$demo/run
export MAPSWITCH_PACK_HOST=127.0.0.1:$port
export MAPSWITCH_PUBLISHER_HOST=127.0.0.1:$port
echo "demo prefix: $WINEPREFIX  run directory: $MAPSWITCH_RUN_DIR  packs: http://$MAPSWITCH_PACK_HOST/skinvault/"

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  "$root/build/mapswitch"
  exit
fi

echo "No display here: running mapswitch under Xvfb and taking a screenshot instead."
screenshot=$demo/screenshot.png
bash "$root/scripts/with-display.sh" bash -c '
  "$1/build/mapswitch" & program=$!
  for _ in $(seq 100); do
    xwininfo -name "换景坊  溪石社-荣誉出品" >/dev/null 2>&1 && break
    sleep 0.1
  done
  sleep 0.5
  import -window root "$2"
  kill $program
' _ "$root" "$screenshot"
echo "screenshot of the main window: $screenshot"
