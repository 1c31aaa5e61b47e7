#!/usr/bin/env bash
# A sound device that stops working: the player window plays on a PulseAudio
# null sink of this script's own, the window test drops the player's stream
# twice (kill_sink_inputs.py, as the server does when a device goes away),
# and the player must say so and play again, once on Play and once on a
# file handed over by a second instance. The sink's monitor is recorded: the
# audio after each drop must reach the sink, and what the hand-over played
# must match our own decode of the stream's start.
#
#   lost_device_check.sh WORKDIR -- DECODE_CMD... -- TEST_CMD...
#
# DECODE_CMD writes the PCM of the stream the hand-over starts (16-bit
# stereo, 48 kHz) to stdout; TEST_CMD runs the window test. Exit 0 pass,
# 1 fail, 77 skip.
set -uo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
work=$1
shift
[[ ${1:-} == -- ]] || { echo "usage: lost_device_check.sh WORKDIR -- DECODE... -- TEST..."; exit 2; }
shift
decode=()
while [[ $# -gt 0 && $1 != -- ]]; do decode+=("$1"); shift; done
shift
run_test=("$@")

source "$here/sound_common.sh"
sound_require_tools
[[ -n ${DISPLAY:-} ]] || { echo "skip: no X display for the player window"; exit 77; }
sound_fresh_workdir "$work"
sound_decode_reference "$work" "${decode[@]}"
sound_start_server "$work" "rate=48000 norewinds=1" "module-cli-protocol-unix socket=$work/runtime/cli" || exit 1
sound_start_recorder "$work" 48000

: >"$work/kills.log"
# Started by a Windows program, so by the interpreter's own path (Wine hands
# it no Unix PATH, and cannot start a script such as a version manager's shim).
python=$(python3 -c 'import sys; print(sys.executable)')
export PLYVANE_KILL_SINK_INPUTS="$python $here/kill_sink_inputs.py $work/runtime/cli $work/recording.raw $work/kills.log"
status=0
"${run_test[@]}" </dev/null >"$work/test.log" 2>&1 || status=$?
sleep 1
sound_stop
if ((status != 0)) || grep -q "SKIPPED" "$work/test.log"; then
    echo "FAIL: the window test failed or did not run ($status)"
    cat "$work/test.log"
    exit 1
fi
cat "$work/kills.log"
python3 - "$work" <<'PY'
import array, subprocess, sys
work = sys.argv[1]
kills = [line.split() for line in open(work + "/kills.log")]
if len(kills) != 2 or "-" in (kills[0][1], kills[1][1]):
    sys.exit("FAIL: expected two drops of the player's stream, got %r" % kills)
first, second = int(kills[0][0]), int(kills[1][0])
rec = open(work + "/recording.raw", "rb").read()
samples = array.array("h", rec[first - first % 4:second - second % 4])
# The stream that Play started again reached the sink: a second of sound.
loud = sum(1 for value in samples if abs(value) >= 512)
if loud < 48000:
    sys.exit("FAIL: after Play only %d loud samples reached the sink" % loud)
open(work + "/after-handover.raw", "wb").write(rec[second - second % 4:])
PY
[[ $? == 0 ]] || exit 1
python3 "$here/compare_recording.py" --rate 48000 "$work/reference.raw" "$work/after-handover.raw"
