#!/usr/bin/env bash
# The download packages that scripts/package wrote: both zips there, exactly
# the three files in each, the program of the right machine type, the two
# texts as Notepad reads them; then, unpacked into a fresh folder of the Wine
# prefix, the programs' version resources and the x64 one started from there
# (velmora_package_tests.exe).
# Usage: package.sh VERSION DIST_DIR BUILT_X64_EXE PACKAGE_TESTS_EXE SOURCE_DIR
# (needs WINEPREFIX and DISPLAY, as scripts/test sets them)
set -u
version=$1 dist=$2 built_x64=$3 package_tests=$4 source_dir=$5
export LC_ALL=C.UTF-8

failures=0
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }
ok() { echo "ok: $*"; }

[ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX/drive_c" ] || { echo "FAILED: no Wine prefix (source scripts/lib/wine.sh)"; exit 1; }
work=$(mktemp -d "$WINEPREFIX/drive_c/velmora-package.XXXXXX")
trap 'rm -rf "$work"' EXIT

# IMAGE_FILE_HEADER.Machine of a PE file, as four hex digits.
pe_machine() {
  local offset signature
  offset=$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')
  signature=$(od -An -tx1 -j"$offset" -N4 "$1" | tr -d ' ')
  [ "$signature" = "50450000" ] || { echo "none"; return; }
  od -An -tx1 -j$((offset + 4)) -N2 "$1" | awk '{print $2 $1}'
}

# The text without its byte-order mark and CRs, for comparing with the sources.
plain() { tail -c +4 "$1" | tr -d '\r'; }

check_text() {
  local file=$1 name=$2
  [ "$(head -c 3 "$file" | od -An -tx1 | tr -d ' ')" = "efbbbf" ] || fail "$name has no UTF-8 byte-order mark"
  iconv -f UTF-8 -t UTF-8 "$file" >/dev/null 2>&1 || fail "$name is not UTF-8"
  # Every line ends in CR LF, the last one too; no CR stands alone.
  local lines crlf
  lines=$(tr -cd '\n' <"$file" | wc -c)
  crlf=$(grep -c $'\r$' "$file")
  [ "$lines" -gt 0 ] && [ "$crlf" -eq "$lines" ] && [ "$(tail -c 2 "$file" | od -An -tx1 | tr -d ' ')" = "0d0a" ] ||
    fail "$name: $crlf of $lines lines end in CR LF"
  [ "$(tr -cd '\r' <"$file" | wc -c)" -eq "$crlf" ] || fail "$name has a CR that ends no line"
}

declare -A machine=([x64]=8664 [x86]=014c)
for arch in x64 x86; do
  zip="$dist/Velmora-$version-$arch.zip"
  if [ ! -f "$zip" ]; then
    fail "no $zip (run scripts/package)"
    continue
  fi
  entries=$(unzip -Z1 "$zip" | sort | tr '\n' ' ')
  [ "$entries" = "LICENSE.txt README.txt Velmora.exe " ] || fail "$arch package holds: $entries"
  mkdir -p "$work/$arch"
  unzip -q "$zip" -d "$work/$arch" || { fail "$zip does not unpack"; continue; }
  dir=$work/$arch

  [ "$(pe_machine "$dir/Velmora.exe")" = "${machine[$arch]}" ] ||
    fail "$arch Velmora.exe has machine type $(pe_machine "$dir/Velmora.exe")"

  check_text "$dir/README.txt" "$arch README.txt"
  check_text "$dir/LICENSE.txt" "$arch LICENSE.txt"
  cmp -s <(plain "$dir/LICENSE.txt") "$source_dir/LICENSE" || fail "$arch LICENSE.txt is not LICENSE"
  # The guide less its pictures, every line of it in order.
  cmp -s <(plain "$dir/README.txt" | grep -v '^$') \
         <(grep -v '^!\[' "$source_dir/docs/ja/README.md" | grep -v '^$') ||
    fail "$arch README.txt is not the guide"
  grep -q '!\[' "$dir/README.txt" && fail "$arch README.txt links pictures it does not carry"
  grep -qx $'バージョン '"$version"$'\r' "$dir/README.txt" || fail "$arch README.txt does not say バージョン $version"
  ok "$arch package: $entries"
done

# The package carries the program this test run has built and tested.
[ ! -f "$work/x64/Velmora.exe" ] || cmp -s "$work/x64/Velmora.exe" "$built_x64" ||
  fail "the x64 package's Velmora.exe is not $built_x64 (run scripts/package again)"

if [ -f "$work/x64/Velmora.exe" ] && [ -f "$work/x86/Velmora.exe" ]; then
  windows=C:${work#"$WINEPREFIX/drive_c"}
  windows=${windows//\//\\}
  VELMORA_PACKAGE_VERSION=$version \
  VELMORA_PACKAGE_X64="$windows\\x64\\Velmora.exe" \
  VELMORA_PACKAGE_X86="$windows\\x86\\Velmora.exe" \
  LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 WINEDEBUG=-all \
    wine "$package_tests" || fail "velmora_package_tests"
fi

if [ "$failures" -ne 0 ]; then
  echo "$failures failures"
  exit 1
fi
echo "packages checked"
