#!/usr/bin/env bash
# Real sound: plays a stream through a PulseAudio null sink of its own,
# records the sink's monitor and compares the recording with our own decoded
# PCM (SNR and gaps, see compare_recording.py).
#
#   sound_check.sh WORKDIR [--win98 WINE_RUN_PREFIX...] -- DECODE_CMD... -- PLAY_CMD...
#
# DECODE_CMD writes the stream's PCM (16-bit stereo, 44.1 kHz) to stdout;
# PLAY_CMD plays it. With --win98, the Wine prefix of the given wine-run.sh
# command reports Windows 98 (the device callback method needs it).
# The server and the recorder are the script's own (sound_common.sh); the
# recorder runs a second before and after the player.
# Exit 0 pass, 1 fail, 77 skip.
set -uo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
work=$1
shift
win98=()
if [[ ${1:-} == --win98 ]]; then
    shift
    while [[ $1 != -- ]]; do win98+=("$1"); shift; done
fi
[[ ${1:-} == -- ]] || { echo "usage: sound_check.sh WORKDIR [--win98 CMD...] -- DECODE... -- PLAY..."; exit 2; }
shift
decode=()
while [[ $# -gt 0 && $1 != -- ]]; do decode+=("$1"); shift; done
shift
play=("$@")

source "$here/sound_common.sh"
sound_require_tools
sound_fresh_workdir "$work"
sound_decode_reference "$work" "${decode[@]}"
if ((${#win98[@]})); then
    "${win98[@]}" reg add 'HKCU\Software\Wine' /v Version /d win98 /f >"$work/win98.log" 2>&1 \
        || { echo "FAIL: cannot set the Wine prefix to Windows 98"; cat "$work/win98.log"; exit 1; }
fi

# One attempt: a fresh server, the recorder, the player, the comparison.
attempt() {
    local run=$work/attempt$1
    sound_start_server "$run" "norewinds=1" || return 1
    sound_start_recorder "$run" 44100

    local status=0
    "${play[@]}" </dev/null >"$run/play.log" 2>&1 || status=$?
    sleep 1
    sound_stop
    if ((status != 0)); then
        echo "FAIL: the player exited with $status"
        cat "$run/play.log"
        return 1
    fi
    python3 "$here/compare_recording.py" "$work/reference.raw" "$run/recording.raw"
}

# Playback is real time: a machine busy with other work can starve the sound
# server for longer than the gap limit. One more attempt on a failure; a
# fault of ours fails both.
attempt 1 && exit 0
echo "trying once more"
attempt 2
