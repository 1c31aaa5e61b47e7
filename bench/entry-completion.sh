#!/usr/bin/env bash
# How long the playlist editor takes to complete 1000 local entries: each
# file's ID3 tag read and its stream probed through the engine, as when files
# are added to the list; and the same folder added as a drop. Copies of the
# test streams (tagged and untagged, both layers); the native build, and the
# win32 build under Wine when it is there. A measurement to read, not a test.
#
#   bench/entry-completion.sh [--rounds N] [--entries N]
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
rounds=5
entries=1000
usage() { sed -n '2,9p' "$0" | sed 's/^# \{0,1\}//'; exit 2; }
while [ $# -gt 0 ]; do
    case $1 in
        --rounds) rounds=${2:?}; shift 2 ;;
        --entries) entries=${2:?}; shift 2 ;;
        -h|--help) usage ;;
        *) echo "entry-completion.sh: unknown argument '$1'" >&2; usage ;;
    esac
done

native=$root/build/native/bin/entry_completion_bench
win32=$root/build/win32/bin/entry_completion_bench.exe
if [ ! -x "$native" ]; then
    echo "entry-completion.sh: no $native; build it first: cmake --preset native && cmake --build --preset native --target entry_completion_bench" >&2
    exit 1
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
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
