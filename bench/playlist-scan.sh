#!/usr/bin/env bash
# How long the player's list scan takes for a list of 100 local files: each
# entry fetched from the list file and probed through the engine, as when a
# playlist is opened. Lists in both forms (.m3u and .pls) over copies of the
# test streams; the native build, and the win32 build under Wine when it is
# there. A measurement to read, not a test.
#
#   bench/playlist-scan.sh [--rounds N] [--entries N]
set -euo pipefail

source "$(dirname "$0")/bench_common.sh"
bench_start playlist_scan_bench 100 "$@"
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
