#!/usr/bin/env bash
# Velmora unpacked into a folder where libraries named like those it uses
# were dropped (pdh.dll, winmm.dll, comctl32.dll, comdlg32.dll), beside it
# and in the folder it is started from, with Wine told to prefer such native
# copies to its own. Used the way that loads each of them: decorating with
# processor figures (pdh.dll), the settings dialog (comctl32.dll), its browse
# button for the alarm's sound (comdlg32.dll) and the sound it plays at once
# (winmm.dll). None of the planted libraries may run, and Velmora's process
# must hold all four from the system: the scripted pdh.dll from the prefix's
# system folder, the others from Wine's own.
# Usage: planted_libraries.sh Velmora.exe velmora_testwin.exe PLANTED.dll SHOT_DIR
#   (needs DISPLAY and WINEPREFIX, and the scripted pdh.dll in the prefix's
#   system folder; PLANTED.dll is tests/e2e/planted_library.cpp)
set -u
velmora_exe=$1 testwin_exe=$2 planted=$3 shots=$4
export LC_ALL=C.UTF-8 WINEDEBUG=-all
jp=(env LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8)
desktop=(explorer /desktop=shell,1280x1024)
libraries=(pdh winmm comctl32 comdlg32)
mkdir -p "$shots"
work=$(mktemp -d)
title_log=$work/title.txt
system=$WINEPREFIX/drive_c/windows/system32
win() { printf 'Z:%s' "${1//\//\\}"; }  # a Linux path as Wine's programs see it
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

# Velmora's folder and the folder it is started from, both planted.
app=$work/unpacked start=$work/current
mkdir -p "$app" "$start"
cp "$velmora_exe" "$app/Velmora.exe"
for name in "${libraries[@]}"; do
  cp "$planted" "$app/$name.dll"
  cp "$planted" "$start/$name.dll"
done
# Whoever loads a planted library leaves "<its path>.ran" naming the program.
traces() { find "$work" -name '*.ran' -exec sh -c 'printf "%s: %s\n" "$1" "$(tr -d "\r" <"$1" | tr "\n" " ")"' _ {} \;; }
no_traces() {
  local found
  found=$(traces)
  [ -z "$found" ] && ok "no planted library ran" || fail "planted libraries ran: $found"
}
give_up() {
  fail "$1"
  no_traces
  echo "$failures failure(s)"
  exit 1
}

# The trace works: a planted copy loaded on purpose leaves one.
(cd "$start" && WINEDLLOVERRIDES=pdh=n wine rundll32.exe "$(win "$start/pdh.dll")",VelmoraPlanted) >/dev/null 2>&1
if wait_for 10 test -s "$start/pdh.dll.ran"; then
  ok "a planted library, loaded on purpose, leaves its trace: $(traces)"
else
  fail "no trace from a planted library loaded on purpose; the test cannot see one"
fi
rm -f "$start/pdh.dll.ran"

# The alarm is on, so that its sound's browse button is enabled; a sound to choose.
printf '[Alarm]\r\nEnable=1\r\n' >"$ini"
wave=$work/alarm.wav
{
  printf 'RIFF\x64\x1f\x00\x00WAVEfmt \x10\x00\x00\x00\x01\x00\x01\x00\x40\x1f\x00\x00\x40\x1f\x00\x00\x01\x00\x08\x00'
  printf 'data\x40\x1f\x00\x00'
  head -c 8000 /dev/zero | tr '\0' '\200'
} >"$wave"

"${jp[@]}" wine "${desktop[@]}" >/dev/null 2>&1 &
pids+=($!)
VELMORA_TITLE_LOG="$(win "$title_log")" "${jp[@]}" wine "${desktop[@]}" "$testwin_exe" "Planted test" \
  >/dev/null 2>&1 &
pids+=($!)
wait_for 30 title_matches '^Planted test$' || fail "the test window did not come"
(cd "$start" && WINEDLLOVERRIDES="pdh=n;winmm,comctl32,comdlg32=n,b" VELMORA_TESTPDH="cpus=0:12.5,1:13.5,_Total:37.5" \
  "${jp[@]}" wine "${desktop[@]}" "$(win "$app/Velmora.exe")") >/dev/null 2>&1 &
pids+=($!)
wait_for 30 find_icon || give_up "no heart in the notification area"
shot
desktop_color=$(pixel 640 300)

# Velmora's process, by the program file it maps.
velmora_pid() { grep -l -F "$app/Velmora.exe" /proc/[0-9]*/maps 2>/dev/null | head -n 1 | cut -d/ -f3; }
pid=$(velmora_pid)
[ -n "$pid" ] || give_up "Velmora's process not found"
[ "$(readlink "/proc/$pid/cwd")" = "$start" ] && ok "started from a planted folder" ||
  fail "Velmora's current folder: $(readlink "/proc/$pid/cwd")"
mapped() { grep -oE '/[^ ]+$' "/proc/$pid/maps" 2>/dev/null | sort -u; }
maps_library() { mapped | grep -iE "/$1\.dll$"; }
# Each library comes in with its own use, not before.
not_yet() {
  local name
  for name in "$@"; do
    maps_library "$name" >/dev/null && fail "$name.dll is loaded already: $(maps_library "$name")"
  done
}

# 1. Processor figures: the scripted total of the system folder's pdh.dll.
activate
wait_for 20 title_matches '^Planted test【 \[A\] .* CPU:038 RAM:[0-9]{3} 】 $' &&
  ok "decorated with the processor figures: $(title)" || fail "no figures: $(title)"
not_yet comctl32 comdlg32 winmm

# 2. The settings dialog.
choose_settings
wait_for 15 dialog_open && ok "the settings dialog is open" || fail "no dialog on screen"
not_yet comdlg32 winmm

# 3. The alarm's browse button, a sound chosen in the file-open dialog, and
#    the sound played at once.
file_dialog() {
  local w
  for w in $(xdotool search --name . 2>/dev/null); do
    [ "$(xdotool getwindowname "$w" 2>/dev/null)" = "アラームのサウンド" ] && return 0
  done
  return 1
}
click_client 232 410  # 参照(&N) of the alarm
if wait_for 20 file_dialog; then
  ok "the file-open dialog is open"
  not_yet winmm
  sleep 1
  xdotool type --delay 30 "$(win "$wave")"
  xdotool key Return
  wait_for 15 maps_library winmm >/dev/null && ok "the sound was played" || fail "no sound library in Velmora"
else
  fail "no file-open dialog"
fi
shot
cp "$work/screen.png" "$shots/planted-dialog.png"
click_client 495 427  # キャンセル
wait_for 10 dialog_closed || fail "the dialog is still open"

# 4. What ran, and where Velmora's libraries came from.
no_traces
own=$(dirname "$(mapped | grep -iE '/kernel32\.dll$' | head -n 1)")
for name in "${libraries[@]}"; do
  paths=$(maps_library "$name" | tr '\n' ' ')
  bad=0
  [ -n "$paths" ] || bad=1
  for p in $paths; do
    case "$name:$p" in
      pdh:"$system/pdh.dll") ;;
      pdh:*) bad=1 ;;
      *:"$own"/* | *:"$system"/*) ;;
      *) bad=1 ;;
    esac
  done
  [ "$bad" = 0 ] && ok "$name.dll from the system: $paths" || fail "$name.dll: ${paths:-not loaded}"
done
strays=$(mapped | grep -F "$work/" | grep -vxF "$app/Velmora.exe")
[ -z "$strays" ] && ok "nothing else mapped from the planted folders" || fail "mapped from them: $strays"

echo "$failures failure(s)"
[ "$failures" -eq 0 ]
