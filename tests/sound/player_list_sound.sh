#!/usr/bin/env bash
# Real sound from the player window: "plyvane.exe /C /P list.m3u" under Wine
# plays three tracks as one continuous list and ends by itself; the null
# sink's recording must match our decode of the three (sound_check.sh).
#
#   player_list_sound.sh WORKDIR WINE_RUN PREFIX PLAYER_EXE VERSION_FILE CLI_EXE TRACK...
#
# TRACKs are paths as the Windows programs see them. The player needs an X
# display; without one the test is skipped (exit 77).
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

if [[ ${1:-} == --play ]]; then
    # The player's part: settings seeded so that no first-run window comes
    # up, then the list, with a limit in case it never ends.
    shift
    wine_run=$1 prefix=$2 exe=$3 version=$4 list=$5
    key='HKCU\Software\Brindlex\Plyvane\Playback'
    "$wine_run" win32 "$prefix" reg add "$key" /v Version /d "$version" /f >/dev/null
    for value in CheckExtentions TaskBar DisableContinuous; do
        "$wine_run" win32 "$prefix" reg add "$key\\Configuration" /v $value /t REG_DWORD /d 0 /f >/dev/null
    done
    exec timeout 90 "$wine_run" win32 "$prefix" "$exe" /C /P "$list"
fi

work=$1 wine_run=$2 prefix=$3 exe=$4 version_file=$5 cli=$6
shift 6
if [[ -z ${DISPLAY:-} ]]; then
    echo "skip: the player window needs an X display"
    exit 77
fi
version=$(tr -d '[:space:]' <"$version_file")
list=$work.m3u
mkdir -p "$(dirname "$work")"
printf '%s\r\n' "$@" >"$list"
exec bash "$here/sound_check.sh" "$work" --win98 "$wine_run" win32 "$prefix" \
    -- "$wine_run" win32 "$prefix" "$cli" decode "$@" -o - --quality 2 \
    -- bash "$here/player_list_sound.sh" --play "$wine_run" "$prefix" "$exe" "$version" "Z:$list"
