# Shared by the scripts that drive Velmora in Wine's virtual desktop
# (1280 x 1024, taskbar at the bottom): results, Velmora's settings files,
# polling, screenshots, the heart in the notification area, the titles a
# window of ours reports, the tray menu, the settings dialog. Source it
# after setting $work (a scratch folder) and $title_log (the test window's
# title log).

failures=0
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }
ok() { echo "ok: $*"; }

# Velmora's settings files in the prefix: set aside for a first run, and put
# back at the end with whatever the run left there removed.
data=$WINEPREFIX/drive_c/users/${USER:-$(id -un)}/AppData/Roaming/Orvane/Velmora
ini=$data/Velmora.ini
list=$data/Disable.log
set_settings_aside() {
  mkdir -p "$data"
  [ -f "$ini" ] && cp "$ini" "$work/ini.backup"
  [ -f "$list" ] && cp "$list" "$work/list.backup"
  rm -f "$ini" "$list"
}
put_settings_back() {
  rm -f "$ini" "$list"
  [ -f "$work/ini.backup" ] && cp "$work/ini.backup" "$ini"
  [ -f "$work/list.backup" ] && cp "$work/list.backup" "$list"
}

# Polls a command every 0.2 s for up to $1 seconds.
wait_for() {
  local seconds=$1
  shift
  local i
  for i in $(seq 1 $((seconds * 5))); do
    "$@" && return 0
    sleep 0.2
  done
  return 1
}

shot() { import -window root "$work/screen.png" 2>/dev/null; }
# The colour of one screen pixel, as #RRGGBB.
pixel() { convert "$work/screen.png" -crop "1x1+$1+$2" -depth 8 txt:- | tail -n 1 | grep -oE '#[0-9A-F]{6}' | head -n 1; }

# Finds the heart in the taskbar's notification area: red, magenta or dark red.
icon_x="" icon_y=""
find_icon() {
  shot
  local found
  found=$(convert "$work/screen.png" -crop 240x32+1040+992 -depth 8 txt:- |
    grep -E '#(FF0000|FF00FF|840000)' | head -n 400 |
    awk -F'[,:]' '{x+=$1; y+=$2; n++} END {if (n > 20) printf "%d %d", x/n + 1040, y/n + 992}')
  [ -n "$found" ] || return 1
  read -r icon_x icon_y <<<"$found"
}
icon_color() { shot && pixel "$icon_x" "$icon_y"; }

title() { cat "$title_log" 2>/dev/null; }
tag_re='【[^】]*】 '
title_matches() { title | grep -qE "$1"; }

# The menu is open when the screen above the icon is no longer the desktop
# ($desktop_color, read once Velmora is up).
menu_open() { shot && [ "$(pixel $((icon_x - 60)) $((icon_y - 40)))" != "$desktop_color" ]; }
menu_closed() { ! menu_open; }

# The settings item by where it is: the menu opens above and left of the
# click point at the screen's bottom right corner (rows 16 pixels, separators
# 10; measured from a screenshot of the menu).
choose_settings() {
  xdotool mousemove "$icon_x" "$icon_y" click 3
  wait_for 10 menu_open || { fail "the menu did not open"; return 1; }
  sleep 0.3
  xdotool mousemove "$((icon_x - 80))" "$((icon_y - 46))"
  sleep 0.3
  xdotool click 1
}

# The dialog is centred on the 1280 x 1024 desktop; its client area at 96
# DPI starts at (dlg_x, dlg_y) on screen (measured from a screenshot).
dlg_x=356 dlg_y=294
# A point inside the dialog, below the test window: the desktop otherwise.
dialog_open() { shot && [ "$(pixel $((dlg_x + 283)) $((dlg_y + 447)))" != "$desktop_color" ]; }
dialog_closed() { ! dialog_open; }
click_client() {
  xdotool mousemove "$((dlg_x + $1))" "$((dlg_y + $2))"
  sleep 0.2
  xdotool click 1
}

# The test window (placed at the desktop's top left) to the front, as a
# user clicks it after using the tray.
activate() {
  xdotool mousemove 300 250 click 1
  sleep 0.3
}
