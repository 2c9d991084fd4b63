# Shared by scripts/test and scripts/run: a Wine prefix under build/ and, when
# asked, an Xvfb display of our own that is stopped again on exit.
VELMORA_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
export WINEPREFIX="$VELMORA_ROOT/build/wineprefix"
export WINEDEBUG=-all
export WINEARCH=win64
# No Mono or Gecko installer dialogs while the prefix is created. Wine's own
# pdh.dll whatever the system folder holds: the tests put a scripted one
# there for a while (tests/win/system_folder.h) and ask for it themselves.
export WINEDLLOVERRIDES="mscoree,mshtml=;pdh=b"

OWN_XVFB_PID=""

# Starts Xvfb on the first free display number (of FIRST-LAST, default
# 90-250) and exports DISPLAY.
start_own_xvfb() {
  local n
  for n in $(seq "${1:-90}" "${2:-250}"); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    OWN_XVFB_PID=$!
    local i
    for i in $(seq 1 100); do
      if [ -e "/tmp/.X11-unix/X$n" ]; then
        export DISPLAY=":$n"
        return 0
      fi
      kill -0 "$OWN_XVFB_PID" 2>/dev/null || break
      sleep 0.1
    done
    kill "$OWN_XVFB_PID" 2>/dev/null || true
    OWN_XVFB_PID=""
  done
  echo "no free X display for Xvfb" >&2
  return 1
}

# Ends the Wine processes of our prefix and the Xvfb we started, nothing else.
stop_own_processes() {
  wineserver -k 2>/dev/null || true
  if [ -n "$OWN_XVFB_PID" ]; then
    kill "$OWN_XVFB_PID" 2>/dev/null || true
    wait "$OWN_XVFB_PID" 2>/dev/null || true
    OWN_XVFB_PID=""
  fi
}

# Creates the prefix on first use.
ensure_wine_prefix() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w
  fi
}
