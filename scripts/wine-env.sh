# Sourced by the scripts that run Windows programs: the Wine environment of one build tree.
# $1 is the prefix folder (inside the build tree, never the home folder).
export WINEPREFIX="$1"
export WINEARCH=win32
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml="
# The game's players use code page 1251; Wine takes its ANSI code page from the locale
# its server starts under.
{ export LC_ALL=ru_RU.UTF-8; } 2>/dev/null
