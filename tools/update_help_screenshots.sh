#!/usr/bin/env bash
# Copies the screenshots that the help shows from the window tests' results
# into help/images/ (as shot_*.png), so that the help follows the windows.
#   tools/update_help_screenshots.sh [BUILD_DIR]      (default: build/win32)
# Run the window tests of that build first, on a display (see README.md):
#   ctest --preset win32 -R '^(player|settings|info|editor|player_internet)_window_tests$'
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
results=${1:-$root/build/win32}/test-results/gui
target=$root/help/images

# The test's name for the picture, then the help's.
shots=(
    layout-0-playing.png shot_layout_0.png
    layout-1-playing.png shot_layout_1.png
    layout-2-playing.png shot_layout_2.png
    about-box.png shot_about_box.png
    file_type_check.png shot_file_type_check.png
    properties_1_audio_device.png shot_properties_audio_device.png
    properties_2_playback_mode.png shot_properties_playback_mode.png
    properties_3_buffers.png shot_properties_buffers.png
    properties_4_controls.png shot_properties_controls.png
    properties_5_internet.png shot_properties_internet.png
    stream_properties_1_id3_tag.png shot_stream_properties_id3_tag.png
    stream_properties_2_properties.png shot_stream_properties.png
    stream_properties_3_mpeg_statistics.png shot_stream_properties_statistics.png
    playlist_editor.png shot_editor.png
    open-url.png shot_open_url.png
)

missing=0
for ((i = 0; i < ${#shots[@]}; i += 2)); do
    if [[ ! -f $results/${shots[i]} ]]; then
        echo "missing: $results/${shots[i]}" >&2
        missing=1
    fi
done
if ((missing)); then
    echo "run the window tests first; nothing was copied" >&2
    exit 1
fi
# The same pixels, compressed better: the tests write them fast, not small.
for ((i = 0; i < ${#shots[@]}; i += 2)); do
    convert "$results/${shots[i]}" -strip -define png:compression-level=9 "$target/${shots[i + 1]}"
done
echo "copied $((${#shots[@]} / 2)) screenshots to $target"
