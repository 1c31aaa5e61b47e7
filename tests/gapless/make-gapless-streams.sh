#!/bin/sh
# Makes the streams the gapless tests measure, from synthetic signals (tones
# and sweeps; never music), into OUTDIR. Repeatable: sox runs in -R mode.
#
#   make-gapless-streams.sh OUTDIR
#
# album.wav       60 s, 44.1 kHz stereo; cut at 17.3 s and 41.1 s into
#                 track1..3.wav, each encoded alone by lame: cbr_N.mp3
#                 (192 kbit/s) and vbr_N.mp3 (-V 2)
# short_N.mp3     the first 9 s cut likewise at 2.9 s and 6.1 s, -V 4: the
#                 real-playback test's list
# dur_R_vQ.mp3    11.3 s and 7 samples at R Hz (32000, 44100, 48000 and the
#                 MPEG-2 rates 16000, 22050, 24000) at -V Q (0, 4, 9)
# durations.txt   one line per dur_ file: name, sample rate, source samples
# With mpg123 (the reference decoder), what it makes of them, gapless:
# cbr.reference.wav, vbr.reference.wav  the three tracks decoded one by one
# mpg123-lengths.txt                    sample frames of each dur_ file and of
#                                       each STREAM given after OUTDIR
# Nothing is made again when OUTDIR/durations.txt is newer than this script.
set -eu
out=$1
shift
here=$(cd "$(dirname "$0")" && pwd)
if [ -f "$out/durations.txt" ] && [ "$out/durations.txt" -nt "$here/make-gapless-streams.sh" ]; then
    exit 0
fi
mkdir -p "$out"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

sig() {
    name=$1 rate=$2; shift 2
    sox -R -D -r "$rate" -n -c 2 -b 16 "$tmp/$name.wav" "$@"
}
# lame would lower the rate of low-quality encodings: keep the input's.
l3() {
    rate=$1; shift
    lame --quiet --noreplaygain --resample "$(echo "$rate" | awk '{ print $1 / 1000 }')" "$@"
}

# 60 s: a slow sweep on the left, a chord with a slow tremolo on the right,
# so that a missing or doubled sample anywhere shows.
sig sweep 44100 synth 60 sine 120-5000 sine 330 synth sine mix 554 synth sine mix 880 gain -8
sox -R "$tmp/sweep.wav" "$out/album.wav" tremolo 0.3 40 channels 2
cut() {
    # cut WAV PREFIX FIRST SECOND: three tracks at the two sample positions
    sox -R "$1" "$tmp/$2_1.wav" trim 0s "$3s"
    sox -R "$1" "$tmp/$2_2.wav" trim "$3s" "$(($4 - $3))s"
    sox -R "$1" "$tmp/$2_3.wav" trim "$4s"
}
cut "$out/album.wav" track 762930 1812510
for n in 1 2 3; do
    cp "$tmp/track_$n.wav" "$out/track$n.wav"
    l3 44100 -b 192 "$tmp/track_$n.wav" "$out/cbr_$n.mp3"
    l3 44100 -V 2 "$tmp/track_$n.wav" "$out/vbr_$n.mp3"
done
sox -R "$out/album.wav" "$out/short.wav" trim 0s 396900s
cut "$out/short.wav" short 127890 269010
for n in 1 2 3; do l3 44100 -V 4 "$tmp/short_$n.wav" "$out/short_$n.mp3"; done

: >"$tmp/durations.txt"
for rate in 32000 44100 48000 16000 22050 24000; do
    samples=$((rate * 113 / 10 + 7))
    sig "dur_$rate" "$rate" synth "${samples}s" sine 200-3000 sine 440 gain -6
    for q in 0 4 9; do
        l3 "$rate" -V "$q" "$tmp/dur_$rate.wav" "$out/dur_${rate}_v$q.mp3"
        echo "dur_${rate}_v$q.mp3 $rate $samples" >>"$tmp/durations.txt"
    done
done

if command -v mpg123 >/dev/null; then
    for kind in cbr vbr; do
        for n in 1 2 3; do mpg123 -q -w "$tmp/$kind$n.wav" "$out/${kind}_$n.mp3"; done
        sox "$tmp/${kind}1.wav" "$tmp/${kind}2.wav" "$tmp/${kind}3.wav" "$out/$kind.reference.wav"
    done
    : >"$out/mpg123-lengths.txt"
    for stream in "$out"/dur_*.mp3 "$@"; do
        bytes=$(mpg123 -q -s "$stream" | wc -c)
        channels=$(mpg123 -q -w "$tmp/probe.wav" "$stream" && soxi -c "$tmp/probe.wav")
        echo "$(basename "$stream") $((bytes / 2 / channels))" >>"$out/mpg123-lengths.txt"
    done
fi
mv "$tmp/durations.txt" "$out/durations.txt"
