#!/usr/bin/env bash
# The real main window under X: its size, readable Chinese captions, a click that changes the
# map name, the message box when the registry value is missing, and the exit codes.
source "$(dirname "$0")/lib/gui.sh"

# A started program shows its window at 450x350 with the official map selected.
make_prefix
touch "$work/run/地图包/默认地图备份.zip"  # a backup enables the pack buttons
start_program
window=$(wait_for_window "$MAIN_TITLE")
geometry=$(xwininfo -id "$window" | awk '/Width:|Height:/ {print $2}' | paste -sd x)
[ "$geometry" = 450x350 ] || fail "main window is $geometry"
sleep 0.5
import -window root "$work/before.png"
cp "$work/before.png" "$artifacts/main_window.png"

# The name label shows other glyphs after 按钮3 (爱心峡谷) is clicked: were the font missing,
# both names would be the same row of empty boxes.
click_at $((3 + 42)) $((43 + 17))
import -window root "$work/after.png"
crop "$work/before.png" 64x20+351+107 "$work/name-before.png"
crop "$work/after.png" 64x20+351+107 "$work/name-after.png"
differ "$work/name-before.png" "$work/name-after.png" || fail "the map name did not change"
cp "$work/after.png" "$artifacts/main_window_after_click.png"

# Closing the main window ends the program with 0.
/usr/bin/python3 "$(dirname "$0")/lib/close_window.py" "$window"
wait_for_exit
[ "$exit_code" = 0 ] || fail "closing the main window ended with $exit_code"

# Without the registry value: the message box, and exit code 0 once it is dismissed.
make_prefix --no-launcher
start_program
box=$(wait_for_window "信息：")
import -window root "$artifacts/no_launcher_message.png"
xwininfo -name "$MAIN_TITLE" 2>/dev/null | grep -q IsViewable && fail "the main window is shown"
xdotool windowfocus --sync "$box" key Return
wait_for_exit
[ "$exit_code" = 0 ] || fail "the program ended with $exit_code after the message"
echo "gui_main_window: all checks passed"
