// The scan's probe through the engine: ProbeFileInfo reads the first frame
// header of a file (or, through the given source, of an address) without
// disturbing the stream that plays. A file it cannot read shows the
// engine's error box over `owner`.
#pragma once

#include "audio_engine.h"
#include "playlist_scan.h"

namespace plyvane {

class EngineEntryProber : public EntryProber {
public:
    explicit EngineEntryProber(AudioEngine& engine, WindowHandle owner = nullptr,
                               ByteSource* addressSource = nullptr)
        : engine_(engine), owner_(owner), addressSource_(addressSource) {}

    void SetOwner(WindowHandle owner) { owner_ = owner; }
    void SetAddressSource(ByteSource* source) { addressSource_ = source; }

    bool Probe(const std::string& path, Result& result) override;

private:
    AudioEngine& engine_;
    WindowHandle owner_;
    ByteSource* addressSource_;
};

}  // namespace plyvane
