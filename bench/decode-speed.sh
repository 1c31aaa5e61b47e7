#!/usr/bin/env bash
# Decoding speed of plyvane-cli at quality 0 to 3, native and the win32 build
# under Wine, beside mpg123 (its default build and --cpu generic) and ffmpeg,
# on 60 s 44.1 kHz stereo streams: Layer II at 192 kbit/s, Layer III at
# 128 kbit/s joint stereo. Every command runs once per round, all of them in
# one run, in alternating order (forward, then backward), so that a busy
# machine slows them alike; the medians of their CPU times (user + system)
# are compared. Each tool's start-up (the same command on the stream's first
# frames) is measured the same way and subtracted, so that the figures are
# decoding time: Wine's start-up alone is ten times a native decode.
# A measurement to read, not a test: nothing here passes or fails on speed.
#
#   bench/decode-speed.sh [--rounds N] [--layer 2|3|all] [--no-wine] [--instructions]
#
# --instructions counts instructions with valgrind's callgrind instead of
# timing (native only, one run each, start-up not subtracted): slower, but
# the same on a busy machine. PLYVANE_CLI and PLYVANE_CLI_WIN32 override the
# programs (default build/native/bin/plyvane-cli, build/win32/bin/plyvane-cli.exe),
# BENCH_STREAMS the folder of the generated streams (default build/bench-streams).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
rounds=9
layers=all
wine=1
instructions=0
cli=${PLYVANE_CLI:-$root/build/native/bin/plyvane-cli}
cli_win32=${PLYVANE_CLI_WIN32:-$root/build/win32/bin/plyvane-cli.exe}
streams=${BENCH_STREAMS:-$root/build/bench-streams}

usage() { sed -n '2,21p' "$0" | sed 's/^# \{0,1\}//'; exit 2; }
while [ $# -gt 0 ]; do
    case $1 in
        --rounds) rounds=${2:?}; shift 2 ;;
        --layer) layers=${2:?}; shift 2 ;;
        --no-wine) wine=0; shift ;;
        --instructions) instructions=1; wine=0; shift ;;
        -h|--help) usage ;;
        *) echo "decode-speed.sh: unknown argument '$1'" >&2; usage ;;
    esac
done
case $rounds in ''|*[!0-9]*|0) echo "decode-speed.sh: --rounds needs a positive number" >&2; exit 2 ;; esac
case $layers in 2|3|all) ;; *) echo "decode-speed.sh: --layer is 2, 3 or all" >&2; exit 2 ;; esac

for tool in mpg123 ffmpeg sox twolame lame python3; do
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
if [ "$wine" = 1 ] && [ ! -f "$cli_win32" ]; then
    echo "decode-speed.sh: no $cli_win32 (cmake --build --preset win32 --target plyvane-cli); measuring native only" >&2
    wine=0
fi

layer2=$streams/bench_60s_44k_stereo_192k.mp2
layer3=$streams/bench_60s_44k_joint_128k.mp3
if [ ! -s "$layer2" ] || [ ! -s "$layer3" ]; then
    echo "Generating the benchmark streams in $streams ..."
    sh "$root/tests/data/make-streams.sh" --bench "$streams" >/dev/null
fi

work=$(mktemp -d)
prefix=$(dirname "$cli_win32")/../wineprefix
cleanup() {
    rm -rf "$work"
    # The Wine server this script started (wine-run.sh keeps it for 60 s).
    if [ "$wine" = 1 ]; then WINEPREFIX=$prefix /usr/lib/wine/wineserver -k 2>/dev/null || true; fi
}
trap cleanup EXIT

wine_env=()
if [ "$wine" = 1 ]; then
    prefix=$(cd "$prefix" 2>/dev/null && pwd || echo "$prefix")
    # Creates the prefix if needed and starts its server, so that the timed
    # runs find it running.
    "$root/cmake/wine-run.sh" win32 "$prefix" cmd /c exit >/dev/null 2>&1 || true
    wine_env=(env WINEPREFIX="$prefix" WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml= wine)
fi

q() { printf '%q' "$1"; }

# bench TITLE STREAM: the table for one stream.
bench() {
    local title=$1 stream=$2
    local start=$work/$(basename "$stream")
    # The first frames only: the tools' start-up and a few frames' decoding.
    head -c 4000 "$stream" >"$start"
    local -a entries=()
    local quality file
    for quality in 0 1 2 3; do
        entries+=("plyvane q$quality|$(q "$cli") decode {} -o /dev/null --quality $quality")
    done
    if [ "$wine" = 1 ]; then
        for quality in 0 1 2 3; do
            entries+=("plyvane q$quality win32/Wine|${wine_env[*]} $(q "$cli_win32") decode Z:{} -o NUL --quality $quality")
        done
    fi
    entries+=("mpg123|mpg123 -q -w /dev/null {}"
              "mpg123 --cpu generic|mpg123 -q --cpu generic -w /dev/null {}"
              "ffmpeg -threads 1|ffmpeg -nostdin -hide_banner -loglevel error -threads 1 -i {} -f null -")
    echo
    echo "== $title: $(basename "$stream") ($(stat -c %s "$stream") bytes)"
    python3 - "$rounds" "$instructions" "$stream" "$start" "${entries[@]}" <<'EOF'
import os, shlex, statistics, subprocess, sys

rounds, instructions, stream, start = int(sys.argv[1]), sys.argv[2] == "1", sys.argv[3], sys.argv[4]
entries = [e.split("|", 1) for e in sys.argv[5:]]
devnull = open(os.devnull, "wb")

def command(template, path):
    return shlex.split(template.replace("{}", shlex.quote(path)))

def cpu_seconds(argv):
    process = subprocess.Popen(argv, stdout=devnull, stderr=devnull)
    _, status, usage = os.wait4(process.pid, 0)
    if status != 0:
        sys.exit(f"decode-speed.sh: failed ({status}): {' '.join(argv)}")
    return usage.ru_utime + usage.ru_stime

def instruction_count(argv):
    out = subprocess.run(["valgrind", "--tool=callgrind", "--callgrind-out-file=/dev/null"] + argv,
                         stdout=devnull, stderr=subprocess.PIPE, text=True).stderr
    counts = [line.split(":")[-1].strip() for line in out.splitlines() if "Collected" in line]
    return int(counts[-1]) if counts else 0

labels = [label for label, _ in entries]
if instructions:
    counts = {label: instruction_count(command(template, stream)) for label, template in entries}
    print(f"{'decoder':28s} {'instructions':>14s}")
    for label in labels:
        print(f"{label:28s} {counts[label]:14,d}")
    print("ratios (plyvane / other):")
    for label in labels:
        if label.startswith("plyvane"):
            others = "  ".join(f"{counts[label] / counts[o]:5.2f} {o}" for o in labels if not o.startswith("plyvane") and counts[o])
            print(f"  {label:26s} {others}")
    sys.exit(0)

# Untimed once: warms the file cache and proves every command works.
for _, template in entries:
    cpu_seconds(command(template, stream))
runs = [(label, kind, command(template, path))
        for label, template in entries for kind, path in (("full", stream), ("start", start))]
times = {(label, kind): [] for label, kind, _ in runs}
for r in range(rounds):
    for label, kind, argv in (runs if r % 2 == 0 else runs[::-1]):
        times[(label, kind)].append(cpu_seconds(argv))

median = {key: statistics.median(values) for key, values in times.items()}
decode = {label: max(median[(label, "full")] - median[(label, "start")], 1e-6) for label in labels}
others = [label for label in labels if not label.startswith("plyvane")]
print(f"CPU ms, medians of {rounds} rounds; decode = total - start-up (the first frames alone)")
header = f"{'decoder':28s} {'total':>8s} {'start-up':>9s} {'decode':>8s}"
short = {"mpg123": "mpg123", "mpg123 --cpu generic": "generic", "ffmpeg -threads 1": "ffmpeg"}
header += "".join(f"  {'/ ' + short.get(o, o):>10s}" for o in others)
print(header + "  / native")
for label in labels:
    row = f"{label:28s} {median[(label, 'full')] * 1000:8.1f} {median[(label, 'start')] * 1000:9.1f} {decode[label] * 1000:8.1f}"
    if label.startswith("plyvane"):
        row += "".join(f"  {decode[label] / decode[o]:10.2f}" for o in others)
        native = label.replace(" win32/Wine", "")
        if native != label:
            row += f"  {decode[label] / decode[native]:8.2f}"
    print(row)
print("ratios: plyvane's decoding time over the other's; below 1 means plyvane is faster")
EOF
}

if [ "$layers" = 2 ] || [ "$layers" = all ]; then
    bench "Layer II, 44.1 kHz stereo 192 kbit/s" "$layer2"
fi
if [ "$layers" = 3 ] || [ "$layers" = all ]; then
    bench "Layer III, 44.1 kHz joint stereo 128 kbit/s" "$layer3"
fi
