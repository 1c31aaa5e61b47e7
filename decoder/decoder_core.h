// State and steps shared by the layer decoders: the stream buffer, the
// subband samples and synthesis, the reference header, the frame counter, the
// stream markers and the seek.
#pragma once

#include <atomic>
#include <cstdint>

#include "bitstream_buffer.h"
#include "frame_header.h"
#include "layer_decoder.h"
#include "stream_info.h"
#include "subband_samples.h"
#include "synthesis.h"

namespace plyvane {

class DecoderCore {
public:
    static constexpr int kStreamCapacity = 16384;
    static constexpr int kStreamRefillThreshold = 1152;

    DecoderCore();

    // printf-style; the text stays until the next failure.
    void SetError(const char* format, ...)
#if defined(__GNUC__)
        __attribute__((format(printf, 2, 3)))
#endif
        ;
    const char* LastError() const { return lastError_; }

    enum class FrameSearch {
        kFound,          // the header at the read pointer, its whole frame buffered
        kEnd,            // the data ended without another frame
        kCutOff,         // the data ends inside the next frame
        kLost,           // no frame of the stream within frame size x 256 bytes
        kChannelChange,  // the stream goes on with another channel count
    };

    // Refills when fewer than count bytes remain; true when count bytes are
    // there, false when the data ends before (the bytes left stay readable).
    bool EnsureBytes(int count);
    // From the byte-aligned read position, the next frame of the stream: a
    // sync word whose header matches the reference header in ID, layer and
    // sampling frequency. A header of the other channel count ends the
    // stream only when a header of that count follows where its frame ends;
    // followed by a frame of the stream, it had its mode damaged and gets
    // the mode of the frame before. Any other such header, and one without
    // a frame length, is damage, passed over with "resync". Leaves the read
    // pointer on the header's first byte.
    FrameSearch NextFrame(FrameHeader& header);
    // After a header was accepted: a passed stream marker restarts the frame
    // counter and takes the new file's bit rate.
    void CheckStreamMarker(FrameHeader header);
    // Ends a unit: the synthesis (when the unit produced samples), a pending
    // seek, and the frame number to return.
    uint32_t FinishFrame(uint8_t* out, bool synthesize);

    // Records a seek target; false when one is pending already.
    bool RequestSeekOffset(uint32_t byteOffset);
    bool SeekPending() const { return seekPending_.load(std::memory_order_acquire); }
    void CarryOutSeek();
    void CancelSeek() { seekPending_.store(false, std::memory_order_release); }

    // The part of a layer's set-up that every layer shares: clears the filter
    // bank and the subband samples, fills the stream fields of info from the
    // first header and keeps them, with the reference header, for decoding.
    void AdoptStream(StreamInfo& info, FrameHeader header, int layerNumber);
    // Recomputes the frame size estimate and the frame totals from the
    // stream's channels, bit rate and sample rate.
    void UpdateFrameSize();
    void RegisterLayer(LayerDecoder* layer);

    BitstreamBuffer stream{kStreamCapacity, kStreamRefillThreshold};
    SubbandSamples subbands;
    Synthesis synthesis;
    OutputFormat format;
    StreamInfo current;

    uint32_t referenceHeader = 0;
    int layer = 0;
    int streamChannels = 2;
    int sampleRate = 0;
    int bitratePerChannel = 0;
    uint32_t frameCounter = 1;
    uint32_t totalFrames = 0;
    // Bytes the last DecodeFrame wrote (0 when a Layer III unit had no data).
    uint32_t lastPcmBytes = 0;

private:
    // What follows the frame at the read pointer where it ends: a header of
    // its own kind, a header of the stream (its channel count), or neither.
    enum class Follower { kSameKind, kStreamFrame, kNone };
    Follower FollowerOf(FrameHeader header, int codedBytes);

    // The mode of the last frame of the stream's channel count.
    int lastMode_ = kStereo;
    char lastError_[256];
    std::atomic<uint32_t> seekOffset_{0};
    std::atomic<bool> seekPending_{false};
    LayerDecoder* layers_[2] = {nullptr, nullptr};
};

}  // namespace plyvane
