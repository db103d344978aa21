#!/usr/bin/env bash
# The release package as a player downloads it: every file in place, the launcher a 32-bit
# Windows program without symbols or debug sections, within the size bar, loading at start
# only the libraries every run needs.
# Usage: release-check.sh PACKAGE.zip MAX_EXE_BYTES
set -uo pipefail
zip=$(realpath -m -- "$1")
max=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
[ -s "$zip" ] || { echo "release-check: no package $zip (scripts/release.sh makes it)"; exit 1; }
(cd "$work" && cmake -E tar xf "$zip") || { echo "release-check: $zip does not unpack"; exit 1; }
top="$work/$(basename "$zip" .zip)"

failed=0
for file in KQMiniLauncher.exe KQMiniLauncherSettings.ini README-en.txt README-ru.txt Skins/README.txt; do
  [ -s "$top/$file" ] || { echo "release-check: the package lacks $file"; failed=1; }
done
exe="$top/KQMiniLauncher.exe"
if [ -s "$exe" ]; then
  headers=$(i686-w64-mingw32-objdump -h "$exe" 2>&1)
  [[ "$headers" == *"file format pei-i386"* ]] || { echo "release-check: not a 32-bit Windows program"; failed=1; }
  if grep -q '\.debug' <<<"$headers"; then
    echo "release-check: debug sections in the exe:"
    grep '\.debug' <<<"$headers"
    failed=1
  fi
  syms=$(i686-w64-mingw32-nm "$exe" 2>&1 | grep -vc 'no symbols')
  [ "$syms" -eq 0 ] || { echo "release-check: the exe keeps $syms symbols"; failed=1; }
  # The libraries only some runs need are loaded at their first use, never at start-up.
  imports=$(i686-w64-mingw32-objdump -p "$exe" 2>&1 | sed -n 's/^[[:space:]]*DLL Name: //p')
  for lazy in shell32 oleacc oleaut32; do
    if grep -qix "$lazy.dll" <<<"$imports"; then
      echo "release-check: the exe imports $lazy.dll at start-up"
      failed=1
    fi
  done
  size=$(stat -c %s "$exe")
  echo "release-check: KQMiniLauncher.exe is $size bytes (bar $max)"
  [ "$size" -le "$max" ] || { echo "release-check: over the size bar"; failed=1; }
fi
# The configuration is the launcher's own: the keys it reads, in Windows line ends.
for line in '[GUI]' 'Caption=DO Rizura' 'Skin=FM (internal)' '[LoginServer]' 'Port=10001' 'Language=7'; do
  grep -qxF "$line"$'\r' "$top/KQMiniLauncherSettings.ini" ||
    { echo "release-check: the configuration lacks \"$line\" (with CR LF)"; failed=1; }
done
[ "$failed" -eq 0 ] && echo "release-check: the package is complete"
exit "$failed"
