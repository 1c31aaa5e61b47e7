#include "stream_probe.h"

#include <utility>

#include "playlist_entry.h"
#include "stream_properties.h"

namespace plyvane {

StreamProbe::StreamProbe(AudioEngine& engine, AddressSourceMaker addressSources)
    : engine_(engine), addressSources_(std::move(addressSources)) {}

const PlaybackInfo* StreamProbe::Result(WindowHandle owner, const std::string& record) {
    const std::string path = EntryField(record, kEntryPath);
    if (probed_ && path == probedPath_) return found_ ? &info_ : nullptr;
    probed_ = true;
    probedPath_ = path;
    found_ = false;
    info_ = PlaybackInfo{};
    if (path.empty() || !MayProbeEntry(record)) return nullptr;
    ByteSource* source = &fileSource_;
    if (IsHttpAddress(path)) {
        if (addressSource_ == nullptr && addressSources_) addressSource_ = addressSources_(owner);
        if (addressSource_ == nullptr) return nullptr;
        source = addressSource_.get();
    }
    // The engine's record is overwritten by its next probe: keep a copy.
    const PlaybackInfo* probed = engine_.ProbeFileInfo(owner, path.c_str(), source);
    if (probed == nullptr) return nullptr;
    info_ = *probed;
    found_ = true;
    return &info_;
}

int32_t StreamProbe::LengthMs(const PlaybackInfo* info) {
    if (info == nullptr || !(info->length >= 0.0f)) return -1;
    if (info->length >= static_cast<float>(INT32_MAX)) return INT32_MAX;
    return static_cast<int32_t>(info->length);
}

}  // namespace plyvane
