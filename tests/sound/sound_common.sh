# The scaffolding of the real-sound checks, sourced by them (bash):
#
#   sound_require_tools [TOOL...]      exit 77 (skip) unless pulseaudio, pactl,
#                                      parec, python3 and the TOOLs are there
#   sound_fresh_workdir DIR            an empty DIR; what is started below is
#                                      stopped when the script exits
#   sound_decode_reference DIR CMD...  CMD's stdout to DIR/reference.raw, or
#                                      exit 1 with its log
#   sound_start_server DIR SINK_ARGS [MODULE...]
#                                      a PulseAudio server of the script's own
#                                      (runtime in DIR/runtime, log in DIR) with
#                                      one null sink "null" (SINK_ARGS, e.g.
#                                      "rate=48000 norewinds=1") and any more
#                                      MODULEs; PULSE_SERVER and
#                                      PULSE_RUNTIME_PATH point at it. Returns 1
#                                      when it does not start.
#   sound_start_recorder DIR RATE      the sink's monitor to DIR/recording.raw
#                                      (16-bit stereo at RATE), running for a
#                                      second before it returns
#   sound_stop                         stops the server and the recorder
#
# The processes are this script's own and are stopped by their pids. Load
# the sink with norewinds=1: a rewind rewrites audio the monitor has already
# passed on, so the start of a stream would be missing from the recording.

sound_pids=()

sound_require_tools() {
    local tool
    for tool in pulseaudio pactl parec python3 "$@"; do
        if ! command -v "$tool" >/dev/null; then
            echo "skip: $tool is not installed"
            exit 77
        fi
    done
}

sound_stop() {
    local pid
    for pid in "${sound_pids[@]}"; do kill "$pid" 2>/dev/null; done
    for pid in "${sound_pids[@]}"; do wait "$pid" 2>/dev/null; done
    sound_pids=()
}

sound_fresh_workdir() {
    rm -rf "$1"
    mkdir -p "$1"
    trap sound_stop EXIT
}

sound_decode_reference() {
    local dir=$1
    shift
    if ! "$@" >"$dir/reference.raw" 2>"$dir/decode.log"; then
        echo "FAIL: the reference decode failed"
        cat "$dir/decode.log"
        exit 1
    fi
}

sound_start_server() {
    local dir=$1 sink=$2
    shift 2
    local socket=$dir/runtime/native
    local modules=(--load="module-null-sink $sink"
                   --load="module-native-protocol-unix socket=$socket auth-anonymous=1")
    local module
    for module in "$@"; do modules+=(--load="$module"); done
    mkdir -p "$dir/runtime"
    export PULSE_RUNTIME_PATH=$dir/runtime
    export PULSE_SERVER=unix:$socket
    HOME=$dir pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no --disable-shm=yes \
        "${modules[@]}" >"$dir/pulseaudio.log" 2>&1 &
    sound_pids+=($!)
    for _ in $(seq 100); do pactl info >/dev/null 2>&1 && break; sleep 0.05; done
    if ! pactl info >/dev/null 2>&1; then
        echo "FAIL: the PulseAudio server did not start"
        cat "$dir/pulseaudio.log"
        return 1
    fi
}

sound_start_recorder() {
    local dir=$1 rate=$2
    parec --latency-msec=20 -d null.monitor --format=s16le --rate="$rate" --channels=2 --raw \
        >"$dir/recording.raw" 2>"$dir/parec.log" &
    sound_pids+=($!)
    sleep 1
}
