#!/usr/bin/env bash
# Velmora.exe's import table. It may name only libraries that Windows always
# takes from its own folder (the known DLLs): any other one is looked for
# beside the program first, where a copy planted under its name would run
# inside Velmora before its first line. Of those, three stay out as well:
# - pdh.dll: Velmora must start on a machine without it;
# - comctl32.dll and comdlg32.dll: loaded from the system folder when the
#   settings dialog first needs them; linked, they would cost the resident
#   program memory all day.
# Usage: imports.sh OBJDUMP Velmora.exe...
set -u
objdump=$1
shift
known=(kernel32.dll user32.dll gdi32.dll shell32.dll imm32.dll msvcrt.dll advapi32.dll ole32.dll comdlg32.dll
  shlwapi.dll psapi.dll)
status=0
for exe in "$@"; do
  imports=$("$objdump" -p "$exe" | sed -n 's/^\s*DLL Name: //p' | tr '[:upper:]' '[:lower:]')
  if [ -z "$imports" ]; then
    echo "FAILED: no import table read from $exe"
    status=1
    continue
  fi
  echo "$exe imports: $(echo $imports)"
  for dll in $imports; do
    if [[ " ${known[*]} " != *" $dll "* ]]; then
      echo "FAILED: $exe imports $dll, which Windows may take from beside it"
      status=1
    fi
  done
  for dll in pdh.dll comctl32.dll comdlg32.dll; do
    if printf '%s\n' "$imports" | grep -qx "$dll"; then
      echo "FAILED: $exe imports $dll"
      status=1
    fi
  done
done
exit $status
