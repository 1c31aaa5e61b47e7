#include "layer3_decoder.h"

namespace plyvane {

int Layer3Decoder::Setup(StreamInfo&, FrameHeader) {
    core_.SetError("This type of audiofile is currently not supported!");
    return 0;
}

uint32_t Layer3Decoder::DecodeFrame(uint8_t*) { return 0; }

}  // namespace plyvane
