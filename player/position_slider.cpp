#include "position_slider.h"

#include <commctrl.h>

#include "position_scale.h"

namespace plyvane {

void PositionSlider::Attach(HWND slider) {
    slider_ = slider;
    Clear();
    ::SendMessageA(slider_, TBM_SETPAGESIZE, 0, 10);
}

void PositionSlider::SetTrackLength(double length) {
    tickUnits_ = SliderTickUnits(length > 0.0 ? length : 0.0);
    int maximum = SliderUnits(TrackMilliseconds(length));
    ::SendMessageA(slider_, TBM_SETRANGEMIN, FALSE, 0);
    ::SendMessageA(slider_, TBM_SETRANGEMAX, FALSE, maximum);
    ::SendMessageA(slider_, TBM_SETTICFREQ, SliderTickFrequency(tickUnits_, maximum), 0);
    ::SendMessageA(slider_, TBM_SETPOS, TRUE, 0);
}

void PositionSlider::Clear() {
    tickUnits_ = 0;
    ::SendMessageA(slider_, TBM_SETRANGE, TRUE, MAKELPARAM(0, 0));
    ::SendMessageA(slider_, TBM_SETPOS, TRUE, 0);
}

void PositionSlider::MoveTo(uint32_t milliseconds) {
    ::SendMessageA(slider_, TBM_SETPOS, TRUE, SliderUnits(milliseconds));
}

int PositionSlider::WindStepMilliseconds() const {
    return plyvane::WindStepMilliseconds(tickUnits_);
}

uint32_t PositionSlider::Drag(int position, uint32_t limit) {
    following_ = false;
    uint32_t time = SliderMilliseconds(position);
    if (limit != 0 && time > limit) {
        MoveTo(limit);
        return limit;
    }
    return time;
}

bool PositionSlider::BeginSeek(int code) {
    if (code == TB_THUMBPOSITION && seekRunning_) return false;
    seekRunning_ = true;
    return true;
}

uint32_t PositionSlider::SeekTime() const {
    int units = static_cast<int>(::SendMessageA(slider_, TBM_GETPOS, 0, 0));
    int maximum = static_cast<int>(::SendMessageA(slider_, TBM_GETRANGEMAX, 0, 0));
    return SliderMilliseconds(SeekUnits(units, maximum));
}

void PositionSlider::EndSeek() {
    following_ = true;
    seekRunning_ = false;
}

}  // namespace plyvane
