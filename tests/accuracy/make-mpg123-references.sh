#!/bin/sh
# Makes mpg123's float decodes of the committed test streams, named as the
# accuracy test's reference cache names them (Mpg123Reference in
# reference_decode.cpp). For the Windows builds, whose accuracy test runs
# under Wine and cannot start mpg123 itself.
#
#   make-mpg123-references.sh MPG123 CACHE_DIR STREAM...
set -eu
mpg123=$1
cache=$2
shift 2
mkdir -p "$cache"
for stream in "$@"; do
    name=$(basename "$(dirname "$stream")")-$(basename "$stream").f32.wav
    if [ ! -s "$cache/$name" ] || [ "$stream" -nt "$cache/$name" ]; then
        "$mpg123" -q --no-gapless -e f32 -w "$cache/$name.part" "$stream" 2>/dev/null
        mv "$cache/$name.part" "$cache/$name"
    fi
done
