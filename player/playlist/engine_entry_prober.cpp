#include "engine_entry_prober.h"

#include <cstdint>

#include "playlist_entry.h"

namespace plyvane {

bool EngineEntryProber::Probe(const std::string& path, Result& result) {
    ByteSource* source = nullptr;
    if (IsHttpAddress(path)) {
        if (addressSource_ == nullptr) return false;
        source = addressSource_;
    }
    const PlaybackInfo* info = engine_.ProbeFileInfo(owner_, path.c_str(), source);
    if (info == nullptr) return false;
    // Whole milliseconds, truncated; an unknown length stays -1.
    if (info->length < 0.0f) {
        result.durationMs = -1;
    } else if (info->length >= static_cast<float>(INT32_MAX)) {
        result.durationMs = INT32_MAX;
    } else {
        result.durationMs = static_cast<int32_t>(info->length);
    }
    result.title = info->title;
    return true;
}

}  // namespace plyvane
