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
        "$wine" wineboot -i >/dev/null 2>&1
        # wineboot returns before the registry is on disk; wait for the server.
        /usr/lib/wine/wineserver -w
    fi
) 9>"$prefix.lock"

exec "$wine" "$@"
