#!/usr/bin/env bash
# The settings dialog of Velmora in Wine's virtual desktop, used like a user:
# opened from the tray menu with the mouse, watched on screen, closed with
# OK; the settings files and the titles of a window of ours are checked.
# Usage: settings_xdotool.sh Velmora.exe velmora_testwin.exe SHOT_DIR velmora_copydata.exe
#   (needs DISPLAY and WINEPREFIX)
set -u
velmora_exe=$1 testwin_exe=$2 shots=$3 copydata_exe=$4
export LC_ALL=C.UTF-8 WINEDEBUG=-all
jp=(env LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8)
desktop=(explorer /desktop=shell,1280x1024)
mkdir -p "$shots"
work=$(mktemp -d)
title_log=$work/title.txt
source "$(dirname "$0")/desktop.sh"

pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  wineserver -k 2>/dev/null
  put_settings_back
  rm -rf "$work"
}
trap cleanup EXIT
set_settings_aside

# The seconds of the day that the tag shows.
tag_seconds() {
  title | grep -oE '[0-9]{2}:[0-9]{2}:[0-9]{2} ' | head -n 1 |
    awk -F: '{print $1 * 3600 + $2 * 60 + $3}'
}
# Distinct tag times over $1 seconds; prints the gaps between them.
tag_gaps() {
  local end=$(($(date +%s) + $1)) last="" now
  while [ "$(date +%s)" -lt "$end" ]; do
    now=$(tag_seconds)
    if [ -n "$now" ] && [ "$now" != "$last" ]; then
      [ -n "$last" ] && echo $((now - last))
      last=$now
    fi
    sleep 0.1
  done
}

"${jp[@]}" wine "${desktop[@]}" "$velmora_exe" >/dev/null 2>&1 &
pids+=($!)
wait_for 30 find_icon || { fail "no heart in the notification area"; exit 1; }
shot
desktop_color=$(pixel 640 300)
VELMORA_TITLE_LOG="Z:${title_log//\//\\}" "${jp[@]}" wine "${desktop[@]}" "$testwin_exe" "Settings test" \
  >/dev/null 2>&1 &
pids+=($!)
wait_for 20 title_matches '^Settings test$'
sleep 1
activate
wait_for 20 title_matches "^Settings test$tag_re\$" && ok "decorated: $(title)" || fail "not decorated: $(title)"

# 1. Opened from the menu: the title is given back and stays so.
choose_settings
wait_for 15 dialog_open && ok "the dialog is open" || fail "no dialog on screen"
shot
cp "$work/screen.png" "$shots/settings-open.png"
wait_for 10 title_matches '^Settings test$' && ok "title restored: $(title)" || fail "title while open: $(title)"
sleep 2.5
title_matches '^Settings test$' && ok "no decoration while the dialog is open" || fail "decorated: $(title)"

# A message from another program too large for Wine to hand over (3 MB):
# the dialog's loop skips it, and the dialog, the icon and Velmora carry on.
wine "${desktop[@]}" "$copydata_exe" 3145728 TMainForm Velmora >/dev/null 2>&1
sent=$?
[ "$sent" -ne 2 ] || fail "the sender found no main window"
if dialog_open && find_icon; then ok "a message that cannot be received leaves the dialog open (sender: $sent)"; else
  fail "the dialog or the icon went after a message that cannot be received"; fi

# 2. The tray icon ignores the mouse: no menu, no stop.
xdotool mousemove "$icon_x" "$icon_y" click 3
sleep 1.5
menu_closed && ok "right click: no menu" || { fail "the menu opened"; xdotool key Escape; }
xdotool mousemove "$icon_x" "$icon_y" click --repeat 2 --delay 60 1
sleep 1.5
[ "$(icon_color)" != "#840000" ] && ok "double click: not stopped" || fail "the double click stopped the function"

# 3. OK on a first run writes exactly the initial settings.
click_client 365 427  # OK
wait_for 10 dialog_closed && ok "closed with OK" || fail "the dialog is still open"
expected_ini=$(printf '%s\r\n' '[Disable]' 'Count=-1' 'Dialog=0' '' '[Format]' 'Date=0' 'Time=0' 'Name=0' \
  'Update=1' '' '[Whistle]' 'Enable=0' 'Time=10' 'WavEnable=0' 'WavFile=' '' '[Alarm]' 'Enable=0' 'Time=10' \
  'Hour=0' 'Min=0' 'WavEnabled=0' 'WavFile=' '' '[RAM]' 'Enable=0' 'Use=90' 'Exe=' '' | iconv -f UTF-8 -t UTF-16LE |
  xxd -p | tr -d '\n')
wait_for 10 test -f "$ini"
[ "$(xxd -p "$ini" | tr -d '\n')" = "fffe$expected_ini" ] && ok "Velmora.ini as listed" ||
  fail "Velmora.ini: $(xxd "$ini" | head -n 4)"
[ "$(xxd -p "$list")" = "fffe" ] && ok "Disable.log is FF FE" || fail "Disable.log: $(xxd -p "$list")"
activate
wait_for 10 title_matches "^Settings test$tag_re\$" && ok "decorated again: $(title)" || fail "not again: $(title)"
gaps1=$(tag_gaps 6 | tr '\n' ' ')

# 4. "3000" from the interval list: the tag changes every 3 seconds.
choose_settings
wait_for 15 dialog_open || fail "no dialog the second time"
click_client 65 250  # the interval list opens
sleep 0.8
shot
cp "$work/screen.png" "$shots/settings-list.png"
click_client 55 333  # "3000", the sixth row of the open list
sleep 0.5
shot
cp "$work/screen.png" "$shots/settings-3000.png"
click_client 365 427  # OK
wait_for 10 dialog_closed || fail "the dialog is still open after the second OK"
iconv -f UTF-16 -t UTF-8 "$ini" | grep -q $'^Update=5\r' && ok "Update=5 saved" || fail "Update not 5"
activate
wait_for 10 title_matches "^Settings test$tag_re\$" || fail "not decorated after the second OK: $(title)"
gaps=$(tag_gaps 13 | tr '\n' ' ')
# Whole seconds on screen: a 3000 ms beat shows gaps of 3 (a 2 and a 4 when a
# tick lands at a second's edge), so they average 3; 3500 ms would not.
read -ra g <<<"$gaps"
sum=0 bad=0
for x in "${g[@]}"; do
  sum=$((sum + x))
  [ "$x" -ge 2 ] && [ "$x" -le 4 ] || bad=1
done
n=${#g[@]}
if [ "$n" -ge 3 ] && [ "$bad" = 0 ] && [ $((sum * 10)) -ge $((n * 27)) ] && [ $((sum * 10)) -le $((n * 33)) ]; then
  ok "the tag changes every 3 s ($gaps)"
else
  fail "tag gaps: $gaps"
fi
# And 1000 ms before: a new second on every tick.
read -ra g1 <<<"$gaps1"
ones=0
for x in "${g1[@]}"; do [ "$x" = 1 ] && ones=$((ones + 1)); done
[ "${#g1[@]}" -ge 3 ] && [ "$ones" -ge $((${#g1[@]} - 1)) ] && ok "every second before ($gaps1)" || fail "gaps at 1000 ms: $gaps1"

# 5. Stopped before the dialog opened: still stopped after OK.
double_click() {
  xdotool mousemove "$icon_x" "$icon_y"
  sleep 0.5
  xdotool click --repeat 2 --delay 60 1
}
double_click
wait_for 10 test "$(icon_color)" = "#840000" || fail "the double click did not stop the function"
wait_for 10 title_matches '^Settings test$' || fail "title not restored when stopped: $(title)"
choose_settings
wait_for 15 dialog_open || fail "no dialog while stopped"
click_client 365 427  # OK
wait_for 10 dialog_closed || fail "the dialog is still open after OK while stopped"
activate
sleep 3.5
title_matches '^Settings test$' && [ "$(icon_color)" = "#840000" ] && ok "still stopped after the dialog" ||
  fail "running again after the dialog: $(title)"
double_click
activate
wait_for 10 title_matches "^Settings test$tag_re\$" && ok "resumed: $(title)" || fail "not resumed: $(title)"

echo "$failures failure(s)"
[ "$failures" -eq 0 ]
