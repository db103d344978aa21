#!/usr/bin/env bash
# The release command: builds the 32-bit launcher optimised, without sanitizers or debug
# information, in build/release, and packs dist/KQMiniLauncher-<version>-win32.zip: the
# stripped KQMiniLauncher.exe, the players' guides (Russian and English), the default
# configuration and the skin folder's note. Prints the package's path and the exe's size.
# Usage: scripts/release.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
dir="$root/build/release"
# -O2 rather than CMake's -O3: as fast here, and smaller. -s: no symbols or debug sections.
[ -f "$dir/build.ninja" ] || cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
  -DCMAKE_C_FLAGS_RELEASE="-O2 -DNDEBUG" -DCMAKE_EXE_LINKER_FLAGS=-s \
  -DKQ_HOST_TOOLS_DIR="$root/build/host-tools" >/dev/null
# Wine must never make a prefix in the home folder, whatever runs it during a build.
(source "$root/scripts/wine-env.sh" "$dir/wineprefix" x86 && cmake --build "$dir" --target KQMiniLauncher)

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$dir/CMakeCache.txt")
name="KQMiniLauncher-$version-win32"
stage="$dir/package/$name"
rm -rf "$dir/package"
mkdir -p "$stage/Skins" "$root/dist"
cp "$dir/bin/KQMiniLauncher.exe" "$stage/"
cp "$root/release/KQMiniLauncherSettings.ini" "$root/release/README-en.txt" \
  "$root/release/README-ru.txt" "$stage/"
cp "$root/release/Skins-README.txt" "$stage/Skins/README.txt"
zip="$root/dist/$name.zip"
rm -f "$zip"
(cd "$dir/package" && cmake -E tar cf "$zip" --format=zip "$name")
echo "release: $zip"
echo "release: KQMiniLauncher.exe $(stat -c %s "$stage/KQMiniLauncher.exe") bytes"
