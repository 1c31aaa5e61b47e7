#include "pulse_device_catalog.h"

#include <pulse/context.h>
#include <pulse/mainloop.h>

#include <cstdio>

namespace plyvane {

bool PulseServerAvailable() {
    pa_mainloop* loop = pa_mainloop_new();
    if (loop == nullptr) return false;
    pa_context* context = pa_context_new(pa_mainloop_get_api(loop), "Plyvane");
    bool ready = false;
    if (context != nullptr && pa_context_connect(context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) >= 0) {
        for (;;) {
            const pa_context_state_t state = pa_context_get_state(context);
            if (state == PA_CONTEXT_READY) {
                ready = true;
                break;
            }
            if (!PA_CONTEXT_IS_GOOD(state)) break;
            if (pa_mainloop_iterate(loop, 1, nullptr) < 0) break;
        }
        pa_context_disconnect(context);
    }
    if (context != nullptr) pa_context_unref(context);
    pa_mainloop_free(loop);
    return ready;
}

unsigned PulseDeviceCatalog::DeviceCount() { return PulseServerAvailable() ? 1 : 0; }

bool PulseDeviceCatalog::DeviceCaps(int id, WaveDeviceCaps& caps) {
    if (id != kWaveMapper && id != 0) return false;
    caps.formats = 0xFFF;
    std::snprintf(caps.productName, sizeof caps.productName, "%s", "PulseAudio");
    return true;
}

}  // namespace plyvane
