#!/usr/bin/env bash
# What real-time playback costs: plyvane-cli play of a 44.1 kHz stereo
# 128 kbit/s MP3 (the generated 60 s benchmark stream) for 30 s into a
# PulseAudio null sink of its own; prints user+system CPU time as a share of
# one core over the real time played, and the largest resident set.
# A measurement to read, not a test.
#
#   bench/play-cost.sh [--seconds N] [--method timer|thread|device|all] [--cli PATH]
#
# PLYVANE_CLI overrides the program (default build/native/bin/plyvane-cli),
# BENCH_STREAMS the folder of the generated streams (default build/bench-streams).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
seconds=30
methods=(timer)
cli=${PLYVANE_CLI:-$root/build/native/bin/plyvane-cli}
streams=${BENCH_STREAMS:-$root/build/bench-streams}

usage() { sed -n '2,11p' "$0" | sed 's/^# \{0,1\}//'; exit 2; }
while [ $# -gt 0 ]; do
    case $1 in
        --seconds) seconds=${2:?}; shift 2 ;;
        --method) [[ ${2:?} == all ]] && methods=(timer thread device) || methods=("$2"); shift 2 ;;
        --cli) cli=${2:?}; shift 2 ;;
        -h|--help) usage ;;
        *) usage ;;
    esac
done
[[ -x $cli ]] || { echo "no plyvane-cli at $cli (build the native preset first)"; exit 1; }
stream=$streams/bench_60s_44k_joint_128k.mp3
[[ -f $stream ]] || "$root/tests/data/make-streams.sh" --bench "$streams" >/dev/null

work=$(mktemp -d)
pids=()
cleanup() {
    local pid
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT

mkdir -p "$work/runtime"
export PULSE_RUNTIME_PATH=$work/runtime
export PULSE_SERVER=unix:$work/runtime/native
HOME=$work pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no --disable-shm=yes \
    --load="module-null-sink norewinds=1" \
    --load="module-native-protocol-unix socket=$work/runtime/native auth-anonymous=1" >"$work/pulseaudio.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do pactl info >/dev/null 2>&1 && break; sleep 0.05; done

echo "plyvane-cli play, $seconds s of $(basename "$stream"), $(nproc) cores"
for method in "${methods[@]}"; do
    /usr/bin/time -f "%e %U %S %M" -o "$work/time.txt" \
        "$cli" play "$stream" --method "$method" </dev/null >"$work/play.log" 2>&1 &
    timer=$!
    sleep 0.2
    player=$(pgrep -P "$timer" | head -n 1)
    sleep "$seconds"
    kill -INT "$player"
    wait "$timer" || { cat "$work/play.log"; exit 1; }
    read -r real user sys rss <"$work/time.txt"
    awk -v m="$method" -v r="$real" -v u="$user" -v s="$sys" -v k="$rss" 'BEGIN {
        printf "%-7s real %6.2f s  user %5.2f s  sys %5.2f s  CPU %5.2f %% of one core  max RSS %5.1f MB\n",
               m, r, u, s, 100 * (u + s) / r, k / 1024 }'
done
