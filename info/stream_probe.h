// The probe of the entry that the stream file properties sheet describes.
// It reads through the sheet's own byte sources, never the player's, so the
// stream that plays is not disturbed; and it runs once per sheet, so a file
// that cannot be read shows its error box once and an address is connected
// to once, however many pages show the result.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "audio_engine.h"
#include "byte_source.h"
#include "file_byte_source.h"
#include "playback_info.h"

namespace plyvane {

class StreamProbe {
public:
    // Makes the byte source that reads an address, showing its progress
    // and errors over `owner`; null (or a maker that gives none) leaves
    // addresses unprobed.
    using AddressSourceMaker = std::function<std::unique_ptr<ByteSource>(WindowHandle owner)>;

    explicit StreamProbe(AudioEngine& engine, AddressSourceMaker addressSources = nullptr);

    // The record of the entry's stream, or null without a result. The first
    // call probes (errors are shown over `owner`); later calls for the same
    // path give the same answer. An address is not probed while
    // "SkipHTTPFileScan" is set.
    const PlaybackInfo* Result(WindowHandle owner, const std::string& record);

    // The stream's length in whole milliseconds (truncated), -1 without a
    // result or when the length is unknown.
    static int32_t LengthMs(const PlaybackInfo* info);

private:
    AudioEngine& engine_;
    AddressSourceMaker addressSources_;
    FileByteSource fileSource_;
    std::unique_ptr<ByteSource> addressSource_;
    bool probed_ = false;
    std::string probedPath_;
    bool found_ = false;
    PlaybackInfo info_{};
};

}  // namespace plyvane
