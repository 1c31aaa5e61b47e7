#!/usr/bin/env bash
# A player whose server stalls mid-stream stops within a second: the engine
# frees the read that waits for the server. Runs under with_http_server.sh
# with a PulseAudio server of its own (null sink).
#   stall_stop_check.sh WORKDIR METHOD [EMULATOR...] CLI
# Exit 0 pass, 1 fail, 77 skip.
set -uo pipefail
work=$1 method=$2
shift 2
cli=("$@")
for tool in pulseaudio pactl; do
    command -v "$tool" >/dev/null || { echo "skip: $tool is not installed"; exit 77; }
done
source "$(dirname "${BASH_SOURCE[0]}")/../sound/sound_common.sh"
sound_fresh_workdir "$work"
sound_start_server "$work" "norewinds=1" || exit 1

# 2.5 s of audio, then the server sends nothing for a minute.
address="http://127.0.0.1:$PLYVANE_HTTP_PORT/stall/layer2/mpeg1_44k_joint_192k.mp2?after=60000&seconds=60"
"${cli[@]}" play "$address" --method "$method" </dev/null >"$work/play.log" 2>&1 &
player=$!
sleep 5
kill -0 $player 2>/dev/null || { echo "FAIL: the player ended early"; cat "$work/play.log"; exit 1; }
start=$(date +%s%N)
kill -INT $player
for _ in $(seq 40); do kill -0 $player 2>/dev/null || break; sleep 0.05; done
elapsed=$(( ($(date +%s%N) - start) / 1000000 ))
if kill -0 $player 2>/dev/null; then
    kill -KILL $player
    echo "FAIL: the player did not stop within 2 s"
    exit 1
fi
echo "stopped after $elapsed ms"
((elapsed <= 1000)) || { echo "FAIL: more than a second"; exit 1; }
