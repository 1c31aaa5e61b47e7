#!/usr/bin/env bash
# Real sound from the player window: "plyvane.exe /C /P list.m3u" under Wine
# plays three tracks as one continuous list and ends by itself; the null
# sink's recording must match our decode of the three (sound_check.sh).
#
#   player_list_sound.sh WORKDIR ARCH PREFIX PLAYER_EXE CLI_EXE VERSION_FILE TRACK...
#
# ARCH and PREFIX are those of cmake/wine-run.sh; TRACKs are paths as the
# Windows programs see them. The player needs an X display; without one the
# test is skipped (exit 77).
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
wine_run=$here/../../cmake/wine-run.sh

if [[ ${1:-} == --play ]]; then
    # The player's part: settings seeded so that no first-run window comes
    # up, then the list, with a limit in case it never ends.
    shift
    arch=$1 prefix=$2 exe=$3 version=$4 list=$5
    key='HKCU\Software\Brindlex\Plyvane\Playback'
    "$wine_run" "$arch" "$prefix" reg add "$key" /v Version /d "$version" /f >/dev/null
    for value in CheckExtentions TaskBar DisableContinuous; do
        "$wine_run" "$arch" "$prefix" reg add "$key\\Configuration" /v $value /t REG_DWORD /d 0 /f >/dev/null
    done
    "$wine_run" "$arch" "$prefix" reg delete "$key\\Configuration" /v Volume /f >/dev/null 2>&1 || true
    exec timeout 90 "$wine_run" "$arch" "$prefix" "$exe" /C /P "$list"
fi

work=$1 arch=$2 prefix=$3 exe=$4 cli=$5 version_file=$6
shift 6
if [[ -z ${DISPLAY:-} ]]; then
    echo "skip: the player window needs an X display"
    exit 77
fi
version=$(tr -d '[:space:]' <"$version_file")
list=$work.m3u
mkdir -p "$(dirname "$work")"
printf '%s\r\n' "$@" >"$list"
exec bash "$here/sound_check.sh" "$work" \
    -- "$wine_run" "$arch" "$prefix" "$cli" decode "$@" -o - --quality 2 \
    -- bash "$here/player_list_sound.sh" --play "$arch" "$prefix" "$exe" "$version" "Z:$list"
