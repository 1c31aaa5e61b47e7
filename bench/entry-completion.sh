#!/usr/bin/env bash
# How long the playlist editor takes to complete 1000 local entries: each
# file's ID3 tag read and its stream probed through the engine, as when files
# are added to the list; and the same folder added as a drop. Copies of the
# test streams (tagged and untagged, both layers); the native build, and the
# win32 build under Wine when it is there. A measurement to read, not a test.
#
#   bench/entry-completion.sh [--rounds N] [--entries N]
set -euo pipefail

source "$(dirname "$0")/bench_common.sh"
bench_start entry_completion_bench 1000 "$@"
mapfile -t streams < <(ls "$root"/tests/data/layer2/*.mp2 "$root"/tests/data/layer3/*.mp3 "$root"/info/tests/data/*.mp3)
for ((i = 1; i <= entries; i++)); do
    stream=${streams[$(((i - 1) % ${#streams[@]}))]}
    cp "$stream" "$(printf '%s/track%04d.%s' "$work" "$i" "${stream##*.}")"
done
echo "$entries files over ${#streams[@]} test streams ($(du -sh "$work" | cut -f1))"

echo "== native"
"$native" "$work" "$rounds" | grep -E "^round 1:|^median"
if [ -x "$win32" ]; then
    echo "== win32 under Wine"
    "$root/cmake/wine-run.sh" win32 "$root/build/win32/wineprefix" "$win32" "Z:$work" "$rounds" | grep -E "^round 1:|^median"
fi
