// ICY metadata: a server asked with "Icy-MetaData: 1" puts a block after
// every interval of audio bytes (a length byte L, then L * 16 bytes of text
// such as "StreamTitle='...';"). The filter removes the blocks so that only
// audio reaches the decoder and the save file, and keeps the last title.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace plyvane {

class IcyMetadataFilter {
public:
    // interval: audio bytes between blocks, 1 .. kMaxIcyMetaInterval.
    explicit IcyMetadataFilter(uint32_t interval) : interval_(interval), audioLeft_(interval) {}

    // Removes the metadata from count bytes in place; returns the audio
    // bytes left at the front of data.
    std::size_t Filter(uint8_t* data, std::size_t count);

    // The last StreamTitle (printable characters, at most 255), and a number
    // that grows whenever it changes.
    const std::string& Title() const { return title_; }
    uint32_t TitleVersion() const { return titleVersion_; }
    // Inside a metadata block (its end has not arrived yet).
    bool InsideBlock() const { return state_ != State::kAudio; }

private:
    static constexpr std::size_t kMaxBlock = 255 * 16;
    void BlockComplete();

    enum class State { kAudio, kLength, kText };
    const uint32_t interval_;
    uint32_t audioLeft_;
    State state_ = State::kAudio;
    std::size_t blockSize_ = 0;
    std::size_t blockFill_ = 0;
    char block_[kMaxBlock] = {};
    std::string title_;
    uint32_t titleVersion_ = 0;
};

// The StreamTitle of a metadata text; false when it has none.
bool ReadStreamTitle(const char* text, std::size_t size, std::string& title);

}  // namespace plyvane
