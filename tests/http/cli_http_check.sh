#!/usr/bin/env bash
# plyvane-cli reads an address as it reads the file: info names the same
# stream and decode writes the same WAV. Runs under with_http_server.sh.
#   cli_http_check.sh WORKDIR STREAM(relative to tests/data) FILE_PATH [EMULATOR...] CLI
set -euo pipefail
work=$1 stream=$2 file=$3
shift 3
cli=("$@")
rm -rf "$work" && mkdir -p "$work"
address="http://127.0.0.1:$PLYVANE_HTTP_PORT/files/$stream"

"${cli[@]}" decode "$file" -o "$work/file.wav" >/dev/null 2>&1
"${cli[@]}" decode "$address" -o "$work/address.wav" 2>"$work/decode.log" >/dev/null \
    || { echo "FAIL: decode of $address"; cat "$work/decode.log"; exit 1; }
cmp "$work/file.wav" "$work/address.wav" || { echo "FAIL: the address decodes differently"; exit 1; }
grep -q "Connected..." "$work/decode.log" || { echo "FAIL: no progress shown"; cat "$work/decode.log"; exit 1; }

"${cli[@]}" info --json "$file" | sed 's/"name": *"[^"]*"//' >"$work/file.json"
"${cli[@]}" info --json "$address" 2>/dev/null | sed 's/"name": *"[^"]*"//' >"$work/address.json"
diff "$work/file.json" "$work/address.json" || { echo "FAIL: info differs"; exit 1; }

if "${cli[@]}" decode "http://127.0.0.1:$PLYVANE_HTTP_PORT/files/none.mp3" -o "$work/none.wav" \
        >/dev/null 2>"$work/none.log"; then
    echo "FAIL: a missing address decoded"; exit 1
fi
grep -q "not found" "$work/none.log" || { echo "FAIL: no 404 text"; cat "$work/none.log"; exit 1; }
echo "pass"
