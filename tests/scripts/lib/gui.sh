# Helpers for the scripted window tests: a demo-like prefix, the program started on it, clicks
# at form places and screenshots. Source it; $1 of the test is the program.
set -euo pipefail
program=$1
source_dir=${MAPSWITCH_SOURCE_DIR:?}
# Run by hand without a display, a test starts again under a private Xvfb.
if [ -z "${DISPLAY:-}" ]; then exec bash "$source_dir/scripts/with-display.sh" bash "$0" "$@"; fi
artifacts=${MAPSWITCH_BUILD_DIR:?}/artifacts
mkdir -p "$artifacts"
work=$(mktemp -d /tmp/mapswitch-gui-XXXXXX)
program_pid=
cleanup() {
  [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

readonly MAIN_TITLE="换景坊  溪石社-荣誉出品"
readonly WINDOW_X=50 WINDOW_Y=50

# make_prefix [--no-launcher]: a fresh demo layout in $work.
make_prefix() {
  /usr/bin/python3 "$source_dir/scripts/make_demo.py" "$work" "$@"
  export WINEPREFIX=$work/prefix MAPSWITCH_RUN_DIR=$work/run
  export MAPSWITCH_PUBLISHER_HOST=127.0.0.1:9 PATH=/usr/sbin:/usr/bin:/sbin:/bin
}

start_program() {
  "$program" &
  program_pid=$!
}

# wait_for_window <title>: the window id once it is mapped.
wait_for_window() {
  for _ in $(seq 100); do
    if xwininfo -name "$1" 2>/dev/null | grep -q 'Map State: IsViewable'; then
      xwininfo -name "$1" | awk '/Window id:/ {print $4}'
      return
    fi
    sleep 0.1
  done
  echo "window '$1' did not appear" >&2
  return 1
}

# click_at <x> <y>: a click at a place of the main window's client area.
click_at() {
  xdotool mousemove $((WINDOW_X + $1)) $((WINDOW_Y + $2)) click 1
  sleep 0.4
}

# crop <png> <w>x<h>+<x>+<y> <out>: a part of a screenshot, in main-window coordinates.
crop() {
  local geometry=$2 size offset
  size=${geometry%%+*}
  offset=${geometry#*+}
  convert "$1" -crop "$size+$((WINDOW_X + ${offset%%+*}))+$((WINDOW_Y + ${offset#*+}))" +repage "$3"
}

differ() {
  local pixels
  pixels=$(compare -metric AE "$1" "$2" null: 2>&1 || true)
  [ "${pixels%% *}" != 0 ]
}

# wait_for_exit: sets exit_code to the program's exit code (fails after 10 s). Runs in this shell,
# not in $(...), since only the program's parent can reap it.
wait_for_exit() {
  for _ in $(seq 100); do
    local state
    state=$(ps -o stat= -p "$program_pid" 2>/dev/null || true)
    if [ -z "$state" ] || [ "${state:0:1}" = Z ]; then
      exit_code=0
      wait "$program_pid" || exit_code=$?
      program_pid=
      return
    fi
    sleep 0.1
  done
  fail "the program did not end"
}

fail() {
  echo "FAIL: $*" >&2
  exit 1
}
