#!/usr/bin/env bash
# How long the player's list scan takes for a list of 100 local files: each
# entry fetched from the list file and probed through the engine, as when a
# playlist is opened. Lists in both forms (.m3u and .pls) over copies of the
# test streams; the native build, and the win32 build under Wine when it is
# there. A measurement to read, not a test.
#
#   bench/playlist-scan.sh [--rounds N] [--entries N]
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
rounds=5
entries=100
usage() { sed -n '2,8p' "$0" | sed 's/^# \{0,1\}//'; exit 2; }
while [ $# -gt 0 ]; do
    case $1 in
        --rounds) rounds=${2:?}; shift 2 ;;
        --entries) entries=${2:?}; shift 2 ;;
        -h|--help) usage ;;
        *) echo "playlist-scan.sh: unknown argument '$1'" >&2; usage ;;
    esac
done

native=$root/build/native/bin/playlist_scan_bench
win32=$root/build/win32/bin/playlist_scan_bench.exe
if [ ! -x "$native" ]; then
    echo "playlist-scan.sh: no $native; build it first: cmake --preset native && cmake --build --preset native --target playlist_scan_bench" >&2
    exit 1
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mapfile -t streams < <(ls "$root"/tests/data/layer2/*.mp2 "$root"/tests/data/layer3/*.mp3)
: > "$work/list.m3u"
printf '[playlist]\r\nNumberOfEntries=%d\r\n' "$entries" > "$work/list.pls"
for ((i = 1; i <= entries; i++)); do
    stream=${streams[$(((i - 1) % ${#streams[@]}))]}
    name=$(printf 'track%03d.%s' "$i" "${stream##*.}")
    cp "$stream" "$work/$name"
    printf '%s\r\n' "$name" >> "$work/list.m3u"
    printf 'File%d=%s\r\n' "$i" "$name" >> "$work/list.pls"
done
echo "$entries entries over ${#streams[@]} test streams ($(du -sh "$work" | cut -f1))"

for form in m3u pls; do
    echo "== native, .$form"
    "$native" "$work/list.$form" "$rounds" | grep -E "^round 1:|^median"
done
if [ -x "$win32" ]; then
    for form in m3u pls; do
        echo "== win32 under Wine, .$form"
        "$root/cmake/wine-run.sh" win32 "$root/build/win32/wineprefix" "$win32" "Z:$work/list.$form" "$rounds" | grep -E "^round 1:|^median"
    done
fi
