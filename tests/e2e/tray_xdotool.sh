#!/usr/bin/env bash
# Velmora in Wine's virtual desktop with a taskbar, driven like a user: the
# tray icon is found on screen, watched and clicked with xdotool, the menu is
# used with the keyboard, and a window of ours reports the titles it is given.
# Usage: tray_xdotool.sh Velmora.exe velmora_testwin.exe SHOT_DIR
#   (needs DISPLAY and WINEPREFIX)
set -u
velmora_exe=$1 testwin_exe=$2 shots=$3
export LC_ALL=C.UTF-8 WINEDEBUG=-all
jp=(env LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8)
desktop=(explorer /desktop=shell,1280x1024)
mkdir -p "$shots"
work=$(mktemp -d)
title_log=$work/title.txt
data=$WINEPREFIX/drive_c/users/${USER:-$(id -un)}/AppData/Roaming/Orvane/Velmora
ini=$data/Velmora.ini

pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  [ -f "$work/ini.backup" ] && cp "$work/ini.backup" "$ini"
  rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$data"
[ -f "$ini" ] && cp "$ini" "$work/ini.backup"
rm -f "$ini"

source "$(dirname "$0")/desktop.sh"
icon_gone() { ! find_icon; }
icon_is() { [ "$(icon_color)" = "$1" ]; }
save_icon() { shot && convert "$work/screen.png" -crop "24x24+$((icon_x - 12))+$((icon_y - 12))" +repage "$1"; }

open_menu() {
  xdotool mousemove "$icon_x" "$icon_y" click 3
  wait_for 10 menu_open
}
# Menu items by where they are: keys typed with xdotool do not reach a
# popup menu in Wine's virtual desktop, the mouse does. The menu opens at
# the click point and, at the screen's bottom right corner, lies above and
# left of it; the offsets below are the middles of the item rows (16 pixels
# each, separators 10), measured from a screenshot of the menu.
item_dx=-80
declare -A item_dy=(
  [stop]=-288 [animation]=-272 [hide]=-256
  [date]=-174 [tag_front]=-70 [exit]=-20
)
choose() {
  open_menu || { fail "the menu did not open"; return 1; }
  sleep 0.3
  xdotool mousemove "$((icon_x + item_dx))" "$((icon_y + ${item_dy[$1]}))"
  sleep 0.3
  xdotool click 1
  wait_for 10 menu_closed
}
double_click() {
  xdotool mousemove "$icon_x" "$icon_y"
  sleep 0.5
  xdotool click --repeat 2 --delay 60 1
}

start_velmora() {
  "${jp[@]}" wine "${desktop[@]}" "$velmora_exe" >/dev/null 2>&1 &
  pids+=($!)
}

# 1. The icon appears and beats.
start_velmora
# Wine's first start of explorer in a fresh prefix can take most of a minute
# on a busy machine; the screen is kept for a look when no heart comes.
if ! wait_for 60 find_icon; then
  shot && cp "$work/screen.png" "$shots/no-icon.png"
  fail "no heart in the notification area (screen: $shots/no-icon.png)"
  exit 1
fi
ok "icon at $icon_x,$icon_y"
shot
desktop_color=$(pixel 640 300)
save_icon "$work/a.png"
beats=0
for _ in $(seq 1 15); do
  sleep 0.3
  save_icon "$work/b.png"
  if ! compare -metric AE "$work/a.png" "$work/b.png" null: 2>/dev/null; then beats=1; break; fi
done
[ "$beats" = 1 ] && ok "the icon beats" || fail "the icon does not change"
cp "$work/a.png" "$shots/icon-frame-a.png"
cp "$work/b.png" "$shots/icon-frame-b.png"

# 2. A window of ours is decorated.
VELMORA_TITLE_LOG="Z:${title_log//\//\\}" "${jp[@]}" wine "${desktop[@]}" "$testwin_exe" "Tray test" >/dev/null 2>&1 &
pids+=($!)
wait_for 20 title_matches '^Tray test$'
sleep 1
activate
wait_for 20 title_matches "^Tray test$tag_re\$" && ok "decorated: $(title)" || fail "not decorated: $(title)"

# 3. The menu: a screenshot, then items chosen with the mouse.
open_menu && { sleep 0.5; shot; convert "$work/screen.png" -crop 320x440+$((icon_x - 300))+$((icon_y - 430)) +repage "$shots/menu.png"; }
xdotool mousemove 640 300 click 1  # a click elsewhere closes it
wait_for 10 menu_closed || fail "the menu did not close"
# 日付: the date leaves the tag.
choose date
activate
wait_for 10 title_matches "^Tray test【 \[A\] [0-9]{2}:[0-9]{2}:[0-9]{2} " && ok "date off: $(title)" || fail "date still shown: $(title)"
# 表示項目＋タイトル: the tag moves before the title.
choose tag_front
activate
wait_for 10 title_matches "^$tag_re""Tray test\$" && ok "tag in front: $(title)" || fail "tag not in front: $(title)"

# 4. A double click stops (title back, dark red heart), a second resumes.
double_click
wait_for 10 icon_is "#840000" && ok "stopped: dark red heart" || fail "no dark red heart: $(icon_color)"
save_icon "$shots/icon-stopped.png"
wait_for 10 title_matches '^Tray test$' || fail "title not restored: $(title)"
sleep 2.5
title_matches '^Tray test$' && ok "no decoration while stopped" || fail "decorated while stopped: $(title)"
double_click
activate
wait_for 10 title_matches "^$tag_re""Tray test\$" && ok "resumed: $(title)" || fail "not resumed: $(title)"
# アニメーション停止: the magenta heart.
choose animation
wait_for 10 icon_is "#FF00FF" && ok "animation stopped: magenta heart" || fail "no magenta heart: $(icon_color)"
save_icon "$shots/icon-animation-stopped.png"
choose animation
wait_for 10 icon_is "#FF0000" || fail "the red heart did not come back: $(icon_color)"

# 5. Hiding the icon; a second start brings it back and ends at once.
choose hide
sleep 1.5
xdotool key Return  # 確認: OK
sleep 1.5
xdotool key Return  # 表示するには再度起動してください。
wait_for 10 icon_gone && ok "icon hidden" || fail "icon still shown"
started=$(date +%s)
"${jp[@]}" wine "${desktop[@]}" "$velmora_exe" >/dev/null 2>&1
second=$?
took=$(($(date +%s) - started))
wait_for 10 find_icon && ok "second start (exit $second, ${took}s) shows the icon" || fail "the icon did not come back"
[ "$took" -le 15 ] || fail "the second start took ${took}s"

# 6. 終了: title restored, [Disp] written, process ended.
choose exit
wait_for 15 icon_gone && ok "icon removed at exit" || fail "icon still there after exit"
wait_for 10 title_matches '^Tray test$' && ok "title restored at exit" || fail "title after exit: $(title)"
if wait_for 10 test -f "$ini" && grep -q $'Date=0\r' "$ini" && grep -q $'Front=1\r' "$ini" && grep -q $'TrayIcon=0\r' "$ini"; then
  ok "[Disp] written at exit"
else
  fail "preferences not written: $(cat "$ini" 2>/dev/null | tr '\r\n' '  ')"
fi

# 7. Ending the session ends Velmora the same way.
rm -f "$ini"
start_velmora
wait_for 30 find_icon || fail "no icon after restart"
activate
wait_for 20 title_matches "$tag_re" || fail "not decorated after restart: $(title)"
# In the desktop of Velmora, or its windows are not among those asked.
"${jp[@]}" wine "${desktop[@]}" wineboot --end-session >/dev/null 2>&1
wait_for 20 test -f "$ini" && grep -q '^\[Disp\]' "$ini" && ok "[Disp] written at the end of the session" ||
  fail "no preferences written at the end of the session"

echo "$failures failure(s)"
[ "$failures" -eq 0 ]
