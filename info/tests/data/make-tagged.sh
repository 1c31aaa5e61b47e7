#!/usr/bin/env bash
# Makes the tagged test streams of the tag reader's tests: one short tone
# (sox, lame), tagged by tools other than ours (lame writes ID3v1 and ID3v2.3;
# ffmpeg writes ID3v2.3 in ISO-8859-1 or UTF-16 and ID3v2.4 in UTF-8). What
# each file holds is in README.md beside it.
#   info/tests/data/make-tagged.sh   (run from anywhere; rewrites the files)
set -euo pipefail
cd "$(dirname "$0")"
export LC_ALL=C.UTF-8

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
sox -R -n -r 44100 -c 2 -b 16 "$work/tone.wav" synth 0.3 sine 440 gain -6
lame --quiet -t -b 64 --noreplaygain "$work/tone.wav" "$work/tone.mp3"

tag() {  # tag OUT ffmpeg-options...
    local out=$1
    shift
    ffmpeg -nostdin -loglevel error -y -i "$work/tone.mp3" -c copy -map_metadata -1 -write_xing 0 \
        -fflags +bitexact "$@" "$out"
}

cp "$work/tone.mp3" untagged.mp3
lame --quiet -t -b 64 --noreplaygain --id3v1-only --tt "Five" --ta "Lame Artist" --tl "Lame Album" \
    --ty 1999 --tc "v1 comment" "$work/tone.wav" lame_v1.mp3
lame --quiet -t -b 64 --noreplaygain --id3v1-only --tt "Thirty characters in the title" \
    --ta "Thirty characters of an artist" "$work/tone.wav" lame_v1_full.mp3
lame --quiet -t -b 64 --noreplaygain --id3v2-only --tt "Lame v2 title" --ta "Lame v2 artist" \
    --tl "Lame v2 album" --ty 2004 --tc "Lame v2 comment" "$work/tone.wav" lame_v23.mp3
lame --quiet -t -b 64 --noreplaygain --id3v2-only --id3v2-latin1 --pad-id3v2 --tt "Café Müller" \
    --ta "Señor Ñandú" --tl "Größe" --ty 1987 --tc "Ça va" "$work/tone.wav" lame_v23_latin1.mp3
tag ffmpeg_v23_utf16_western.mp3 -id3v2_version 3 -write_id3v1 0 \
    -metadata title="Café Müller" -metadata artist="Señor Ñandú" -metadata album="Größe" \
    -metadata date=1987 -metadata comment="Ça va"
tag ffmpeg_v23_utf16_other.mp3 -id3v2_version 3 -write_id3v1 0 \
    -metadata title="Łódź € 5" -metadata artist="Ελληνικά" -metadata album="Œuvre – “quoted”" \
    -metadata date=2001
tag ffmpeg_v24_utf8.mp3 -id3v2_version 4 -write_id3v1 0 \
    -metadata title="Crème brûlée ☕" -metadata artist="Zoë" -metadata album="日本" \
    -metadata date=2010-05-06 -metadata comment="UTF-8 comment"
tag ffmpeg_v1_and_v24.mp3 -id3v2_version 4 -write_id3v1 1 \
    -metadata title="A title longer than the thirty bytes of ID3v1" -metadata artist="Both tags"
