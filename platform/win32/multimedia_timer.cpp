#include "multimedia_timer.h"

#include <windows.h>
#include <mmsystem.h>

namespace plyvane {

MultimediaTimer::~MultimediaTimer() { Stop(); }

bool MultimediaTimer::GetCaps(TimerCaps& caps) {
    TIMECAPS timeCaps{};
    if (timeGetDevCaps(&timeCaps, sizeof timeCaps) != TIMERR_NOERROR) return false;
    caps.periodMin = timeCaps.wPeriodMin;
    caps.periodMax = timeCaps.wPeriodMax;
    return true;
}

namespace {

void CALLBACK TimerProc(UINT /*id*/, UINT /*message*/, DWORD_PTR user, DWORD_PTR, DWORD_PTR) {
    MultimediaTimer::Fire(reinterpret_cast<void*>(user));
}

}  // namespace

void MultimediaTimer::Fire(void* self) {
    auto* timer = static_cast<MultimediaTimer*>(self);
    timer->step_(timer->context_);
}

bool MultimediaTimer::Start(uint32_t periodMs, uint32_t resolutionMs, TimerStep step, void* context) {
    Stop();
    step_ = step;
    context_ = context;
    resolution_ = resolutionMs;
    timeBeginPeriod(resolution_);
    // Synchronous kill: once timeKillEvent returns no step runs any more, so
    // a stop never frees the ring under a running refill.
    const MMRESULT id = timeSetEvent(periodMs, resolutionMs, &TimerProc,
                                     reinterpret_cast<DWORD_PTR>(this),
                                     TIME_PERIODIC | TIME_CALLBACK_FUNCTION | TIME_KILL_SYNCHRONOUS);
    if (id == 0) {
        timeEndPeriod(resolution_);
        return false;
    }
    timerId_ = id;
    return true;
}

void MultimediaTimer::Stop() {
    const unsigned id = timerId_.exchange(0);
    if (id == 0) return;
    timeKillEvent(id);
    timeEndPeriod(resolution_);
}

}  // namespace plyvane
