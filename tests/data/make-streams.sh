#!/bin/sh
# Generates the committed test streams from synthetic signals (sweeps, tones,
# noise, clicks; never music).  Deterministic: sox runs in repeatable mode
# (-R) and the hand-made bytes come from a fixed-seed generator.
#
#   tests/data/make-streams.sh              rewrite layer2/, layer3/, damaged/
#   tests/data/make-streams.sh --bench DIR  write the six 60 s benchmark streams to DIR
#
# Made with (Debian 12): SoX v14.4.2, TwoLAME 0.4.0, LAME 3.100,
# ffmpeg 5.1.9 (its own mp2 encoder), Python 3.11.
# Other versions may encode differently; rerun tests/data/describe_streams.py on the
# output to check that the coverage in README.md still holds.
set -eu

here=$(cd "$(dirname "$0")" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# sig NAME RATE CHANNELS -- sox synth arguments: a WAV in $tmp.
sig() {
    name=$1 rate=$2 ch=$3; shift 3
    sox -R -D -n -r "$rate" -c "$ch" -b 16 "$tmp/$name.wav" "$@"
}

# Signal pieces -------------------------------------------------------------

# sweep RATE CH SECONDS: exponential sine sweep from 40 Hz to just below Nyquist.
sweep() {
    top=$(( $1 * 45 / 100 ))
    sig "sweep_$1_$2" "$1" "$2" synth "$3" sine 40-$top gain -6
    echo "$tmp/sweep_$1_$2.wav"
}

# tones RATE SECONDS: stereo; left a chord, right a different chord (so the
# channels differ and the stereo tools have something to do).
tones() {
    sig "tones_$1" "$1" 2 synth "$2" sine 220 sine 330 \
        synth sine mix 1250 sine mix 1870 synth sine mix 3300 sine mix 5100 gain -9
    echo "$tmp/tones_$1.wav"
}

# mono_tones RATE SECONDS
mono_tones() {
    sig "mono_tones_$1" "$1" 1 synth "$2" sine 180 synth sine mix 950 \
        synth sine mix 2400 synth sine mix 6100 gain -9
    echo "$tmp/mono_tones_$1.wav"
}

# stereo_mix RATE: 2 s, sweep left / tones right, with a noise burst in the middle.
stereo_mix() {
    r=$1
    sig "sm_a_$r" "$r" 2 synth 0.8 sine 60-$((r * 4 / 10)) sine 440 synth sine mix 2900 gain -7
    sig "sm_b_$r" "$r" 2 synth 0.4 pinknoise whitenoise gain -12
    sig "sm_c_$r" "$r" 2 synth 0.8 sine 700 sine $((r * 4 / 10))-100 synth sine mix 150 gain -7
    sox "$tmp/sm_a_$r.wav" "$tmp/sm_b_$r.wav" "$tmp/sm_c_$r.wav" "$tmp/stereo_mix_$r.wav"
    echo "$tmp/stereo_mix_$r.wav"
}

# segments RATE: 3 s of four parts that need ever more bits (tones, quiet noise,
# louder noise, decorrelated loud noise): a joint-stereo encoder moves the
# intensity bound through every mode extension.
segments() {
    r=$1
    sig "seg_a_$r" "$r" 2 synth 0.75 sine 440 sine 660 gain -6
    sig "seg_b_$r" "$r" 2 synth 0.75 pinknoise whitenoise gain -20
    sig "seg_c_$r" "$r" 2 synth 0.75 whitenoise pinknoise gain -10
    sig "seg_d_$r" "$r" 2 synth 0.75 whitenoise whitenoise delay 0 0.0007 gain -6
    sox "$tmp/seg_a_$r.wav" "$tmp/seg_b_$r.wav" "$tmp/seg_c_$r.wav" "$tmp/seg_d_$r.wav" \
        "$tmp/segments_$r.wav"
    echo "$tmp/segments_$r.wav"
}

# clicks RATE CH: 2 s of a quiet tone struck every 0.2 s by a 4 ms loud
# click/noise burst: transients that force short blocks.
clicks() {
    r=$1 c=$2
    sig "click_$r" "$r" "$c" synth 0.004 whitenoise gain -4
    sig "hum_$r" "$r" "$c" synth 0.196 sine 330 synth sine mix 1100 gain -30
    set --
    for i in 1 2 3 4 5 6 7 8 9 10; do set -- "$@" "$tmp/click_$r.wav" "$tmp/hum_$r.wav"; done
    sox "$@" "$tmp/clicks_${r}_$c.wav"
    echo "$tmp/clicks_${r}_$c.wav"
}

# dual RATE: 2 s, two unrelated programmes (a sweep and a tone chord).
dual() {
    r=$1
    sig "dual_$r" "$r" 2 synth 2 sine 80-$((r * 4 / 10)) sine 523 synth sine mix 1568 \
        synth sine mix 3136 gain -8
    echo "$tmp/dual_$r.wav"
}

# The encoders --------------------------------------------------------------

l2() { twolame --quiet "$@"; }
# lame would pick a lower sample rate for low bit rates: keep the input's.
l3() {
    eval "input=\${$(($# - 1))}"
    khz=$(soxi -r "$input" | awk '{ print $1 / 1000 }')
    lame --quiet --noreplaygain --resample "$khz" "$@"
}

bench() {
    out=$1
    mkdir -p "$out"
    # 60 s: a slow sweep left, a chord right, and pink noise swelling in and out.
    sig bench_tone 44100 2 synth 60 sine 50-15000 sine 330 synth sine mix 1760 \
        synth sine mix 4400 gain -10
    # The noise is the same in both channels, so joint stereo uses middle/side.
    sig bench_noise 44100 2 synth 60 pinknoise tremolo 0.1 90 gain -16
    sox -m "$tmp/bench_tone.wav" "$tmp/bench_noise.wav" "$tmp/bench.wav"
    l2 -m s -b 192 "$tmp/bench.wav" "$out/bench_60s_44k_stereo_192k.mp2"
    l3 -m j -b 128 "$tmp/bench.wav" "$out/bench_60s_44k_joint_128k.mp3"
    # Four more for the damage campaign (bench/damage-campaign.py): the other
    # versions, rates and modes of both layers.
    sox -R "$tmp/bench.wav" -r 48000 "$tmp/bench_48k.wav"
    sox -R "$tmp/bench.wav" -r 24000 "$tmp/bench_24k.wav"
    sox -R "$tmp/bench.wav" -r 22050 "$tmp/bench_22k.wav"
    sox -R "$tmp/bench_24k.wav" -c 1 "$tmp/bench_24k_mono.wav"
    l2 -m j -b 160 "$tmp/bench_48k.wav" "$out/bench_60s_48k_joint_160k.mp2"
    l2 -m m -b 64 "$tmp/bench_24k_mono.wav" "$out/bench_60s_24k_mono_64k.mp2"
    l3 -m s -b 192 "$tmp/bench_48k.wav" "$out/bench_60s_48k_stereo_192k.mp3"
    l3 -m j -b 64 "$tmp/bench_22k.wav" "$out/bench_60s_22k_joint_64k.mp3"
    ls -l "$out"/bench_60s_*
}

if [ "${1:-}" = "--bench" ]; then
    bench "${2:?usage: make-streams.sh --bench DIR}"
    exit 0
fi

L2=$here/layer2 L3=$here/layer3 DMG=$here/damaged
rm -rf "$L2" "$L3" "$DMG"
mkdir -p "$L2" "$L3" "$DMG"

# Layer II, MPEG-1.  Allocation table by bit rate per channel:
# 32/48 -> c (d at 32 kHz), 56-80 -> a, 96-192 -> b (a at 48 kHz).
l2 -m m -b 32  "$(sweep 44100 1 2)"      "$L2/mpeg1_44k_mono_32k.mp2"       # c
l2 -m m -b 48  "$(mono_tones 32000 2)"   "$L2/mpeg1_32k_mono_48k.mp2"       # d
l2 -m m -b 192 -p "$(clicks 48000 1)"    "$L2/mpeg1_48k_mono_192k_crc.mp2"  # a, CRC
l2 -m s -b 128 -d "$(stereo_mix 44100)"  "$L2/mpeg1_44k_stereo_128k.mp2"    # a, padding
l2 -m s -b 192 -d "$(tones 44100 2)"     "$L2/mpeg1_44k_stereo_192k.mp2"    # b, padding
l2 -m s -b 192 "$(stereo_mix 48000)"     "$L2/mpeg1_48k_stereo_192k.mp2"    # a
l2 -m s -b 384 "$(stereo_mix 32000)"     "$L2/mpeg1_32k_stereo_384k.mp2"    # b
l2 -m s -b 64  "$(tones 48000 2)"        "$L2/mpeg1_48k_stereo_64k.mp2"     # c
l2 -m s -b 96  "$(tones 32000 2)"        "$L2/mpeg1_32k_stereo_96k.mp2"     # d
l2 -m j -b 192 -d "$(segments 44100)"    "$L2/mpeg1_44k_joint_192k.mp2"     # b, mode ext 0-3
l2 -m j -b 160 "$(segments 48000)"       "$L2/mpeg1_48k_joint_160k.mp2"     # a
l2 -m d -b 256 "$(dual 48000)"           "$L2/mpeg1_48k_dual_256k.mp2"      # a
l2 -m d -b 112 "$(dual 32000)"           "$L2/mpeg1_32k_dual_112k.mp2"      # a (56/ch)

# Layer II, MPEG-2 low sampling rates (one allocation table for all rates).
l2 -m m -b 32 "$(sweep 16000 1 2)"       "$L2/mpeg2_16k_mono_32k.mp2"
l2 -m s -b 64 -d "$(stereo_mix 22050)"   "$L2/mpeg2_22k_stereo_64k.mp2"
l2 -m j -b 96 "$(segments 24000)"        "$L2/mpeg2_24k_joint_96k.mp2"
# A second encoder's idea of Layer II (different allocation and scale-factor choices).
ffmpeg -nostdin -v error -bitexact -i "$(stereo_mix 24000)" -c:a mp2 -b:a 160k \
    -f mp2 "$L2/mpeg2_24k_stereo_160k_ffmpeg.mp2"

# Layer III, MPEG-1 (lame writes its Info/Xing tag frame first; -t leaves it out).
l3 -m m -b 32 "$(sweep 32000 1 2)"       "$L3/mpeg1_32k_mono_32k.mp3"
l3 -m m -b 96 -t "$(clicks 48000 1)"     "$L3/mpeg1_48k_mono_96k_short.mp3"
l3 -m s -b 128 "$(stereo_mix 44100)"     "$L3/mpeg1_44k_stereo_128k.mp3"
l3 -m j -b 128 -t "$(stereo_mix 44100)"  "$L3/mpeg1_44k_joint_128k.mp3"
l3 -m f -b 192 "$(stereo_mix 48000)"     "$L3/mpeg1_48k_ms_192k.mp3"
l3 -m j -b 64 "$(tones 32000 2)"         "$L3/mpeg1_32k_joint_64k.mp3"
l3 -m s -b 320 "$(segments 44100)"       "$L3/mpeg1_44k_stereo_320k.mp3"
l3 -m d -b 160 "$(dual 48000)"           "$L3/mpeg1_48k_dual_160k.mp3"
l3 -m j -b 128 "$(clicks 44100 2)"       "$L3/mpeg1_44k_joint_128k_short.mp3"
l3 -m j -V 2 "$(segments 44100)"         "$L3/mpeg1_44k_vbr_v2.mp3"
l3 -m j -V 6 "$(clicks 48000 2)"         "$L3/mpeg1_48k_vbr_v6.mp3"

# Layer III, MPEG-2 low sampling rates.
l3 -m m -b 24 "$(sweep 16000 1 2)"       "$L3/mpeg2_16k_mono_24k.mp3"
l3 -m j -b 64 "$(clicks 22050 2)"        "$L3/mpeg2_22k_joint_64k_short.mp3"
l3 -m s -b 96 "$(stereo_mix 24000)"      "$L3/mpeg2_24k_stereo_96k.mp3"
l3 -m j -V 4 "$(segments 22050)"         "$L3/mpeg2_22k_vbr_v4.mp3"

# ID3v2 tag with an embedded picture full of false sync words before the audio.
python3 "$here/make_damaged.py" picture "$tmp/picture.jpg"
l3 -m j -b 128 --tt "Test tones" --ti "$tmp/picture.jpg" "$(tones 44100 2)" \
    "$L3/id3v2_picture_44k_joint_128k.mp3"

# Damaged and unsupported inputs.
l2 -m s --freeformat -b 200 "$(tones 44100 1)"   "$DMG/l2_free_format.mp2"
l3 -m j --freeformat -b 200 -t "$(tones 44100 1)" "$DMG/l3_free_format.mp3"
python3 "$here/make_damaged.py" damaged "$L2" "$L3" "$DMG"

python3 "$here/describe_streams.py" "$L2"/* "$L3"/* "$DMG"/*
