#include "icy_metadata.h"

#include <cstring>
#include <string_view>

namespace plyvane {

std::size_t IcyMetadataFilter::Filter(uint8_t* data, std::size_t count) {
    std::size_t out = 0;
    std::size_t in = 0;
    while (in < count) {
        switch (state_) {
            case State::kAudio: {
                std::size_t run = count - in;
                if (run > audioLeft_) run = audioLeft_;
                std::memmove(data + out, data + in, run);
                out += run;
                in += run;
                audioLeft_ -= static_cast<uint32_t>(run);
                if (audioLeft_ == 0) state_ = State::kLength;
                break;
            }
            case State::kLength:
                blockSize_ = static_cast<std::size_t>(data[in++]) * 16;
                blockFill_ = 0;
                state_ = State::kText;
                if (blockSize_ == 0) BlockComplete();
                break;
            case State::kText: {
                std::size_t run = count - in;
                if (run > blockSize_ - blockFill_) run = blockSize_ - blockFill_;
                std::memcpy(block_ + blockFill_, data + in, run);
                blockFill_ += run;
                in += run;
                if (blockFill_ == blockSize_) BlockComplete();
                break;
            }
        }
    }
    return out;
}

void IcyMetadataFilter::BlockComplete() {
    std::string title;
    if (blockSize_ != 0 && ReadStreamTitle(block_, blockSize_, title) && title != title_) {
        title_ = title;
        ++titleVersion_;
    }
    state_ = State::kAudio;
    audioLeft_ = interval_;
}

bool ReadStreamTitle(const char* text, std::size_t size, std::string& title) {
    const std::string_view block(text, strnlen(text, size));
    constexpr std::string_view kKey = "StreamTitle='";
    const std::size_t start = block.find(kKey);
    if (start == std::string_view::npos) return false;
    std::string_view value = block.substr(start + kKey.size());
    // The title ends at "';"; quotes inside it are left as they are.
    const std::size_t end = value.find("';");
    value = end != std::string_view::npos ? value.substr(0, end) : value.substr(0, value.rfind('\''));
    title.clear();
    for (char c : value) {
        if (title.size() == 255) break;
        if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7f) title += c;
    }
    return true;
}

}  // namespace plyvane
