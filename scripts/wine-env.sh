# Sourced by the scripts that run Windows programs: the Wine environment of one build tree.
# $1 is the prefix folder (inside the build tree, never the home folder), $2 its
# architecture: x86 (the default, a win32 prefix) or x64 (a win64 prefix).
# Run programs with "$KQ_WINE", never a bare wine: for x64 it is the 64-bit loader itself,
# since Debian's wine script picks the 32-bit one whenever it is installed, even where the
# kernel cannot execute it. wineserver is the 64-bit one either way.
export WINEPREFIX=$(realpath -m -- "$1")  # Wine takes only an absolute path
case "${2:-x86}" in
  x86)
    export WINEARCH=win32
    export KQ_WINE=wine
    unset WINELOADER
    ;;
  x64)
    export WINEARCH=win64
    export WINELOADER=/usr/lib/wine/wine64
    export KQ_WINE=$WINELOADER
    ;;
  *)
    echo "wine-env.sh: the architecture must be x86 or x64, not \"$2\"" >&2
    return 2 2>/dev/null || exit 2
    ;;
esac
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml="
# The game's players use code page 1251; Wine takes its ANSI code page from the locale
# its server starts under.
{ export LC_ALL=ru_RU.UTF-8; } 2>/dev/null
