#!/usr/bin/env bash
# Real sound from the player window reading an address: "plyvane.exe /C /P
# http://127.0.0.1:PORT/files/NAME" under Wine plays the stream from the test
# server (tests/http/with_http_server.sh sets PLYVANE_HTTP_PORT) and ends by
# itself; the null sink's recording must match our decode of the file
# (sound_check.sh).
#
#   player_http_sound.sh WORKDIR ARCH PREFIX PLAYER_EXE CLI_EXE VERSION_FILE TRACK NAME
#
# TRACK is the file as the Windows programs see it, NAME its path below the
# server's root. Without an X display the test is skipped (exit 77).
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
wine_run=$here/../../cmake/wine-run.sh
work=$1 arch=$2 prefix=$3 exe=$4 cli=$5 version_file=$6 track=$7 name=$8
if [[ -z ${DISPLAY:-} ]]; then
    echo "skip: the player window needs an X display"
    exit 77
fi
: "${PLYVANE_HTTP_PORT:?run under tests/http/with_http_server.sh}"
version=$(tr -d '[:space:]' <"$version_file")
exec bash "$here/sound_check.sh" "$work" \
    -- "$wine_run" "$arch" "$prefix" "$cli" decode "$track" -o - --quality 2 \
    -- bash "$here/player_list_sound.sh" --play "$arch" "$prefix" "$exe" "$version" \
    "http://127.0.0.1:$PLYVANE_HTTP_PORT/files/$name"
