#!/usr/bin/env bash
# Velmora.exe must start on a machine without pdh.dll: it may not import it.
# Usage: no_pdh_import.sh OBJDUMP PATH/TO/Velmora.exe
set -u
objdump=$1 exe=$2
imports=$("$objdump" -p "$exe" | sed -n 's/^\s*DLL Name: //p')
[ -n "$imports" ] || { echo "FAILED: no import table read from $exe"; exit 1; }
echo "imports: $(echo $imports)"
if printf '%s\n' "$imports" | grep -qix 'pdh.dll'; then
  echo "FAILED: $exe imports pdh.dll"
  exit 1
fi
