#!/bin/sh
# Decodes an album's three tracks as one list with plyvane-cli and compares
# the result with the album (check_joins.py): its length, and its joins.
#
#   list_decode_check.sh PYTHON STREAMS KIND OUT.wav -- DECODE_COMMAND...
#
# STREAMS is the folder make-gapless-streams.sh filled; KIND is cbr or vbr;
# DECODE_COMMAND writes OUT.wav. Exit 0 pass, 1 fail, 77 skip.
set -u
python=$1 streams=$2 kind=$3 out=$4
shift 4
[ "$1" = "--" ] && shift
here=$(cd "$(dirname "$0")" && pwd)
if [ ! -f "$streams/${kind}_1.mp3" ]; then
    echo "skip: no streams in $streams (lame or sox missing)"
    exit 77
fi
rm -f "$out"
if ! "$@"; then
    echo "FAIL: the decode failed"
    exit 1
fi
reference=
if [ -f "$streams/$kind.reference.wav" ]; then
    # Our noise at quality 1 is the same everywhere to 0.02 dB; a join's
    # fault costs many dB.
    reference="--reference $streams/$kind.reference.wav --margin-db 0.1"
else
    # Against the album the encoder's loss at the tracks' edges counts too (about
    # 2 dB for these tracks at quality 1).
    echo "no reference decode (mpg123 missing): the SNR is measured against the album"
    reference="--margin-db 3"
fi
# shellcheck disable=SC2086
exec "$python" "$here/check_joins.py" "$streams/album.wav" "$out" --joins 762930,1812510 $reference
