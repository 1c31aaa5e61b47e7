#!/usr/bin/env bash
# Runs a Windows program under Wine in a private prefix inside the build tree.
#   wine-run.sh win32|win64 PREFIX_DIR PROGRAM [ARGS...]
# The prefix is created once (wineboot -i) and reused; a lock keeps parallel
# tests from creating it twice.
set -euo pipefail

arch=$1 prefix=$2
shift 2

case $arch in
    win32) wine=/usr/bin/wine ;;
    win64) wine=/usr/lib/wine/wine64 ;;
    *) echo "wine-run.sh: unknown architecture '$arch'" >&2; exit 2 ;;
esac

export WINEPREFIX=$prefix
export WINEARCH=$arch
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko install prompts: the tests need neither.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

mkdir -p "$(dirname "$prefix")"
(
    flock 9
    if [[ ! -f $prefix/system.reg ]]; then
        echo "wine-run.sh: creating Wine prefix $prefix" >&2
        "$wine" wineboot -i </dev/null >/dev/null 2>&1 9>&-
        # wineboot returns before the registry is on disk; wait for the server.
        /usr/lib/wine/wineserver -w 9>&-
    fi
    # Debian's Wine does not find its own fonts (fonts-wine): without Marlett
    # the frames Wine draws read "0 1 r" instead of the caption buttons. The
    # prefix's font folder is always read.
    fonts=$prefix/drive_c/windows/Fonts
    if [[ -d $fonts && ! -f $fonts/marlett.ttf && -f /usr/share/wine/fonts/marlett.ttf ]]; then
        cp /usr/share/wine/fonts/marlett.ttf "$fonts/"
    fi
    # Start the prefix's server and Wine's background processes here, with no
    # inherited output: started by a test, they would hold its output pipe open
    # and CTest would wait for them until the last test in the prefix ended.
    # (wineserver exits 2 when one is already running.)
    if /usr/lib/wine/wineserver -p60 </dev/null >/dev/null 2>&1 9>&-; then
        "$wine" cmd /c exit </dev/null >/dev/null 2>&1 9>&- || true
    fi
) 9>"$prefix.lock"

exec "$wine" "$@"
