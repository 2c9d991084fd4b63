#!/usr/bin/env bash
# Wine's own notepad decorated by Velmora, read from outside the way a user
# sees it: Wine mirrors each window's title into its X11 window name.
# Usage: notepad_title.sh PATH/TO/Velmora.exe   (needs DISPLAY and WINEPREFIX;
# run with WINEDLLOVERRIDES=pdh=n and VELMORA_TESTPDH for the scripted pdh.dll
# in the prefix's system folder)
set -u
velmora_exe=$1
export LC_ALL=C.UTF-8 WINEDEBUG=-all  # the shell's own text handling
jp=(env LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8)  # Wine: a Japanese locale

pids=()
cleanup() { for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done; }
trap cleanup EXIT

"${jp[@]}" wine notepad >/dev/null 2>&1 &
pids+=($!)
"${jp[@]}" wine "$velmora_exe" >/dev/null 2>&1 &
pids+=($!)

# The tag: input mode, date with the Japanese day name, time, CPU item (from
# the scripted pdh.dll in the system folder: its total is 37.5), memory load.
pattern='メモ帳【 \[A\] [0-9]{2}/[0-9]{2}/[0-9]{2}\([日月火水木金土]\) [0-9]{2}:[0-9]{2}:[0-9]{2} CPU:038 RAM:[0-9]{3} 】 $'
for _ in $(seq 1 150); do
  # xdotool's own name search does not match non-ASCII text: read every name.
  for w in $(xdotool search --name . 2>/dev/null); do
    name=$(xdotool getwindowname "$w" 2>/dev/null)
    if printf '%s' "$name" | grep -qE "$pattern"; then
      first=$name
      # The next tick refreshes the tag in place: still exactly one.
      for _ in $(seq 1 100); do
        name=$(xdotool getwindowname "$w" 2>/dev/null)
        if [ "$name" != "$first" ]; then
          if printf '%s' "$name" | grep -qE "$pattern" && [ "$(printf '%s' "$name" | grep -o '【' | wc -l)" -eq 1 ]; then
            echo "decorated: $name"
            exit 0
          fi
          echo "FAILED: refreshed title is not one tag: $name"
          exit 1
        fi
        sleep 0.1
      done
      echo "FAILED: the tag was not refreshed: $first"
      exit 1
    fi
  done
  sleep 0.1
done
echo "FAILED: no notepad window carries the tag"
xdotool search --name . 2>/dev/null | while read -r w; do echo "  window: $(xdotool getwindowname "$w")"; done
exit 1
