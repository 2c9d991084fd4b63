#!/usr/bin/env bash
# What Velmora.exe may not import:
# - pdh.dll: Velmora must start on a machine without it;
# - comctl32.dll and comdlg32.dll: loaded when the settings dialog first needs
#   them; linked, they would cost the resident program memory all day.
# Usage: imports.sh OBJDUMP PATH/TO/Velmora.exe
set -u
objdump=$1 exe=$2
imports=$("$objdump" -p "$exe" | sed -n 's/^\s*DLL Name: //p')
[ -n "$imports" ] || { echo "FAILED: no import table read from $exe"; exit 1; }
echo "imports: $(echo $imports)"
status=0
for dll in pdh.dll comctl32.dll comdlg32.dll; do
  if printf '%s\n' "$imports" | grep -qix "$dll"; then
    echo "FAILED: $exe imports $dll"
    status=1
  fi
done
exit $status
