#include "multimedia_timer.h"

#include <windows.h>
#include <mmsystem.h>

namespace plyvane {

namespace {

// Set while this thread runs a step: a stop from inside its own step must
// not wait for itself.
thread_local bool insideStep = false;

void CALLBACK TimerProc(UINT id, UINT /*message*/, DWORD_PTR user, DWORD_PTR, DWORD_PTR) {
    MultimediaTimer::Fire(reinterpret_cast<void*>(user), id);
}

}  // namespace

MultimediaTimer::~MultimediaTimer() { Stop(); }

bool MultimediaTimer::GetCaps(TimerCaps& caps) {
    TIMECAPS timeCaps{};
    if (timeGetDevCaps(&timeCaps, sizeof timeCaps) != TIMERR_NOERROR) return false;
    caps.periodMin = timeCaps.wPeriodMin;
    caps.periodMax = timeCaps.wPeriodMax;
    return true;
}

void MultimediaTimer::Fire(void* self, unsigned id) {
    auto* timer = static_cast<MultimediaTimer*>(self);
    timer->stepsRunning_.fetch_add(1);
    // A callback already under way when its timer was killed does nothing.
    if (id == timer->timerId_.load()) {
        insideStep = true;
        timer->step_(timer->context_);
        insideStep = false;
    }
    timer->stepsRunning_.fetch_sub(1);
}

bool MultimediaTimer::Start(uint32_t periodMs, uint32_t resolutionMs, TimerStep step, void* context) {
    Stop();
    step_ = step;
    context_ = context;
    resolution_ = resolutionMs;
    timeBeginPeriod(resolution_);
    // Not TIME_KILL_SYNCHRONOUS: Windows 95 and NT 4 do not have it. Stop
    // waits for a running step itself.
    const MMRESULT id = timeSetEvent(periodMs, resolutionMs, &TimerProc, reinterpret_cast<DWORD_PTR>(this),
                                     TIME_PERIODIC | TIME_CALLBACK_FUNCTION);
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
    // Once this returns no step runs any more, so a stop never frees the ring
    // under a running refill. (From inside a step this only makes it the
    // last one.)
    if (insideStep) return;
    while (stepsRunning_.load() != 0) ::Sleep(1);
}

}  // namespace plyvane
