#!/usr/bin/env bash
# The real window under X on the demo prefix: 按钮11 backs the official map up (both archives
# appear and verify) and so enables the pack buttons; a present pack (爱心峡谷, 按钮3) installs
# into the game folder; the official map's button and 按钮11 restore the backed-up files.
source "$(dirname "$0")/lib/gui.sh"

game=$work/prefix/drive_c/Games/英雄联盟/Game
packs=$work/run/地图包
action_button() { click_at $((316 + 9 + 53)) $((75 + 178 + 18)); }
# wait_for <what> <condition...>: polls the condition for up to 30 seconds.
wait_for() {
  local what=$1
  shift
  for _ in $(seq 150); do "$@" && return 0; sleep 0.2; done
  fail "$what"
}
same_files() { cmp -s "$1" "$2"; }
# Every file of the official copy is back in the game folder, byte for byte.
official_files_back() {
  local file
  while IFS= read -r -d '' file; do
    cmp -s "$work/official/$file" "$game/$file" || return 1
  done < <(cd "$work/official" && find . -type f -print0)
}

make_prefix
cp -a "$game" "$work/official"
start_program
wait_for_window "$MAIN_TITLE" >/dev/null
sleep 0.5

action_button  # "一键备份"
wait_for "both backup archives appear" test -f "$packs/LEVELS.zip" -a -f "$packs/默认地图备份.zip"
sleep 0.5
unzip -tq "$packs/LEVELS.zip" >/dev/null || fail "LEVELS.zip does not verify"
unzip -tq "$packs/默认地图备份.zip" >/dev/null || fail "默认地图备份.zip does not verify"
[ "$(unzip -Z1 "$packs/默认地图备份.zip")" = Map1.zip ] || fail "默认地图备份.zip holds more than Map1.zip"
import -window root "$artifacts/map_pack_after_backup.png"

# 按钮3 can only be chosen once the backup has enabled it; then 按钮11 installs its pack.
click_at $((3 + 42)) $((43 + 17))
action_button  # "一键修改"
wait_for "the pack is installed" test -f "$game/LEVELS/README-爱心峡谷.txt"
same_files "$work/official/LEVELS/Map1/Scene/tile0.dat" "$game/LEVELS/Map1/Scene/tile0.dat" &&
  fail "the pack did not replace the official level files"

click_at $((3 + 42)) $((3 + 17))  # 按钮9, the official map
action_button  # "一键还原"
wait_for "the backed-up files are restored" official_files_back
[ -f "$game/LEVELS/README-爱心峡谷.txt" ] || fail "the restore removed a file the backup does not hold"
import -window root "$artifacts/map_pack_after_restore.png"
kill -0 "$program_pid" 2>/dev/null || fail "the program ended"
echo "gui_map_pack_operations: all checks passed"
