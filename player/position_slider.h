// The main window's position slider: its scale for the open track (one unit
// is 500 ms), the thumb following playback, and the drag and seek of the
// user, during which playback reports leave the thumb alone.
#pragma once

#include <windows.h>

#include <cstdint>

namespace plyvane {

class PositionSlider {
public:
    void Attach(HWND slider);

    // A track of the engine's length (ms, negative when unknown): range,
    // ticks, thumb at the start.
    void SetTrackLength(double length);
    // Nothing loaded: an empty scale.
    void Clear();
    void MoveTo(uint32_t milliseconds);
    // The fast-forward and rewind step for the track.
    int WindStepMilliseconds() const;

    // Whether playback reports move the thumb (not while the user drags it,
    // nor while the output restarts).
    bool FollowsPlayback() const { return following_; }
    void FollowPlayback(bool on) { following_ = on; }

    // The thumb dragged to `position`: the time there, held at `limit` when
    // one is set (0 = none). Playback reports stop moving the thumb.
    uint32_t Drag(int position, uint32_t limit);
    // A seek for `code` (thumb released, line, page, top, bottom) begins;
    // false for a thumb release that arrives while a seek still runs.
    bool BeginSeek(int code);
    // The time the seek goes to, from the thumb's place.
    uint32_t SeekTime() const;
    // The seek is done: playback reports move the thumb again.
    void EndSeek();

private:
    HWND slider_ = nullptr;
    int tickUnits_ = 0;
    bool following_ = true;
    bool seekRunning_ = false;
};

}  // namespace plyvane
