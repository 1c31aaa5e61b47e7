#!/usr/bin/env bash
# Decoding speed of plyvane-cli beside mpg123 (and ffmpeg for Layer III) on
# 60 s 44.1 kHz stereo streams: Layer II at 192 kbit/s, Layer III at
# 128 kbit/s joint stereo. The tools run one after the other in alternating
# order for several rounds; the medians and their ratios are printed.
# A measurement to read, not a test: nothing here passes or fails on speed.
#
#   bench/decode-speed.sh [--rounds N] [--layer 2|3|all] [--cli PATH] [--instructions]
#
# --instructions counts instructions with valgrind's callgrind instead of
# timing (one run each): slower, but the same on a busy machine.
# PLYVANE_CLI overrides the program (default build/native/bin/plyvane-cli),
# BENCH_STREAMS the folder of the generated streams (default build/bench-streams).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
rounds=5
layers=all
cli=${PLYVANE_CLI:-$root/build/native/bin/plyvane-cli}
streams=${BENCH_STREAMS:-$root/build/bench-streams}
instructions=0

usage() { sed -n '2,15p' "$0" | sed 's/^# \{0,1\}//'; exit 2; }
while [ $# -gt 0 ]; do
    case $1 in
        --rounds) rounds=${2:?}; shift 2 ;;
        --layer) layers=${2:?}; shift 2 ;;
        --cli) cli=${2:?}; shift 2 ;;
        --instructions) instructions=1; shift ;;
        -h|--help) usage ;;
        *) echo "decode-speed.sh: unknown argument '$1'" >&2; usage ;;
    esac
done
case $rounds in ''|*[!0-9]*|0) echo "decode-speed.sh: --rounds needs a positive number" >&2; exit 2 ;; esac
case $layers in 2|3|all) ;; *) echo "decode-speed.sh: --layer is 2, 3 or all" >&2; exit 2 ;; esac

for tool in mpg123 ffmpeg sox twolame lame; do
    command -v "$tool" >/dev/null || { echo "decode-speed.sh: $tool is missing (scripts/setup installs it)" >&2; exit 1; }
done
if [ "$instructions" = 1 ] && ! command -v valgrind >/dev/null; then
    echo "decode-speed.sh: --instructions needs valgrind" >&2
    exit 1
fi
if [ ! -x "$cli" ]; then
    echo "decode-speed.sh: no $cli; build it first: cmake --preset native && cmake --build --preset native" >&2
    exit 1
fi

layer2=$streams/bench_60s_44k_stereo_192k.mp2
layer3=$streams/bench_60s_44k_joint_128k.mp3
if [ ! -s "$layer2" ] || [ ! -s "$layer3" ]; then
    echo "Generating the benchmark streams in $streams ..."
    sh "$root/tests/data/make-streams.sh" --bench "$streams" >/dev/null
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
TIMEFORMAT='%R %U %S'

# bench TITLE STREAM "label|command" ...: the first entry is the reference.
bench() {
    local title=$1 stream=$2
    shift 2
    local -a labels=() commands=()
    local entry
    for entry in "$@"; do
        labels+=("${entry%%|*}")
        commands+=("${entry#*|}")
    done
    local n=${#labels[@]} i round

    echo
    if [ "$instructions" = 1 ]; then
        echo "== $title: $(basename "$stream") ($(stat -c %s "$stream") bytes), instruction counts"
    else
        echo "== $title: $(basename "$stream") ($(stat -c %s "$stream") bytes), $rounds rounds"
    fi
    # One untimed run each: warms the file cache and proves every command works.
    for ((i = 0; i < n; i++)); do
        : >"$work/$i.times"
        if ! (eval "${commands[i]}") >/dev/null 2>"$work/err"; then
            echo "decode-speed.sh: '${labels[i]}' failed:" >&2
            cat "$work/err" >&2
            exit 1
        fi
    done
    if [ "$instructions" = 1 ]; then
        count_instructions
        return
    fi
    for ((round = 0; round < rounds; round++)); do
        local -a order=()
        # Alternate the order so no tool always runs first (or right after another).
        if ((round % 2 == 0)); then
            for ((i = 0; i < n; i++)); do order+=("$i"); done
        else
            for ((i = n - 1; i >= 0; i--)); do order+=("$i"); done
        fi
        for i in "${order[@]}"; do
            # The inner braces keep time's own report out of the redirections.
            { time { (eval "${commands[i]}") >/dev/null 2>&1; }; } 2>>"$work/$i.times"
        done
    done

    # Medians of wall time and of CPU time (user + system).
    local -a wall=() cpu=()
    for ((i = 0; i < n; i++)); do
        wall[i]=$(awk '{ print $1 }' "$work/$i.times" | sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }')
        cpu[i]=$(awk '{ print $2 + $3 }' "$work/$i.times" | sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }')
    done
    printf '%-26s %10s %10s %12s\n' "decoder" "wall s" "cpu s" "x realtime"
    for ((i = 0; i < n; i++)); do
        printf '%-26s %10.3f %10.3f %12.1f\n' "${labels[i]}" "${wall[i]}" "${cpu[i]}" \
            "$(awk -v w="${wall[i]}" 'BEGIN { print (w > 0) ? 60 / w : 0 }')"
    done
    # Ratios: each plyvane-cli entry's CPU time over each other tool's.
    echo "ratios (cpu time of plyvane-cli / other; above 1 means plyvane-cli is slower):"
    local p o
    for ((p = 0; p < n; p++)); do
        [[ ${labels[p]} == plyvane-cli* ]] || continue
        for ((o = 0; o < n; o++)); do
            [[ ${labels[o]} == plyvane-cli* ]] && continue
            awk -v a="${cpu[p]}" -v b="${cpu[o]}" -v pl="${labels[p]}" -v ol="${labels[o]}" \
                'BEGIN { if (b > 0) printf "  %-24s / %-24s %6.2f\n", pl, ol, a / b }'
        done
    done
}

# Instruction counts of the commands of the calling bench (labels, commands, n).
count_instructions() {
    local -a counts=()
    printf '%-26s %16s\n' "decoder" "instructions"
    for ((i = 0; i < n; i++)); do
        counts[i]=$( (eval "valgrind --tool=callgrind --callgrind-out-file=/dev/null ${commands[i]}") 2>&1 >/dev/null |
            sed -n 's/.*Collected : *\([0-9]*\).*/\1/p' | tail -n 1)
        printf '%-26s %16s\n' "${labels[i]}" "${counts[i]:-?}"
    done
    echo "ratios (instructions of plyvane-cli / other):"
    local p o
    for ((p = 0; p < n; p++)); do
        [[ ${labels[p]} == plyvane-cli* ]] || continue
        for ((o = 0; o < n; o++)); do
            [[ ${labels[o]} == plyvane-cli* ]] && continue
            awk -v a="${counts[p]:-0}" -v b="${counts[o]:-0}" -v pl="${labels[p]}" -v ol="${labels[o]}" \
                'BEGIN { if (b > 0) printf "  %-24s / %-24s %6.2f\n", pl, ol, a / b }'
        done
    done
}

q() { printf '%q' "$1"; }
C=$(q "$cli")

if [ "$layers" = 2 ] || [ "$layers" = all ]; then
    F=$(q "$layer2")
    bench "Layer II, 44.1 kHz stereo 192 kbit/s" "$layer2" \
        "plyvane-cli|$C decode $F -o /dev/null" \
        "mpg123|mpg123 -q -w /dev/null $F" \
        "mpg123 --cpu generic|mpg123 -q --cpu generic -w /dev/null $F"
fi
if [ "$layers" = 3 ] || [ "$layers" = all ]; then
    F=$(q "$layer3")
    bench "Layer III, 44.1 kHz joint stereo 128 kbit/s" "$layer3" \
        "plyvane-cli --quality 1|$C decode $F -o /dev/null --quality 1" \
        "plyvane-cli --quality 2|$C decode $F -o /dev/null --quality 2" \
        "plyvane-cli --quality 3|$C decode $F -o /dev/null --quality 3" \
        "mpg123|mpg123 -q -w /dev/null $F" \
        "mpg123 --cpu generic|mpg123 -q --cpu generic -w /dev/null $F" \
        "ffmpeg -threads 1|ffmpeg -nostdin -hide_banner -loglevel error -threads 1 -i $F -f null -"
fi
