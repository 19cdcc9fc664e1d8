# Sourced: the Wine environment for one build tree. $1 is the build tree.
# 64-bit programs go through the 64-bit loader directly; the generic `wine`
# front end would start the 32-bit loader first, which here runs under qemu.
export WINEPREFIX="$1/wineprefix"
export WINEARCH=win64
export WINELOADER=/usr/lib/wine/wine64
export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono or Gecko download prompts while the prefix is made.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
TANDREL_WINE64=/usr/lib/wine/wine64
TANDREL_WINESERVER=/usr/lib/wine/wineserver
