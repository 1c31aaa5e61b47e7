// State and steps shared by the layer decoders: the stream buffer, the
// subband samples and synthesis, the reference header, the frame counter, the
// stream markers, the files and segments of a stream with the samples each
// plays, and the seek.
#pragma once

#include <atomic>
#include <cstdint>

#include "bitstream_buffer.h"
#include "frame_header.h"
#include "frame_index.h"
#include "id3v2_gapless.h"
#include "layer_decoder.h"
#include "output_window.h"
#include "stream_extent.h"
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
    // The next audio frame for the unit's slots from slotOffset on, as
    // NextFrame finds it: a passed stream marker begins the next file, and
    // header frames (which are no audio) begin segments and are passed over.
    // The frame found is counted into the file's frames and the unit's window.
    FrameSearch NextAudioFrame(FrameHeader& header, int slotOffset);
    // After a header was accepted: a passed stream marker restarts the frame
    // counter and takes the new file's bit rate. True when it did.
    bool CheckStreamMarker(FrameHeader header);
    // Ends a unit: the synthesis (when the unit produced samples) and the
    // window; returns the PCM bytes that play.
    uint32_t FinishUnit(uint8_t* out, bool synthesize);
    // The frame number of the unit that goes out.
    uint32_t TakeFrameNumber();

    // A new stream whose first frame is at the read position (first) and
    // whose ID3v2 tag said itunes: measures it, passes over its header frame,
    // and begins its first file. Returns what it plays.
    const StreamExtent& BeginStream(FrameHeader first, const ITunesGapless& itunes, int divisor);
    const StreamExtent& Extent() const { return extent_; }

    // Records a seek target; false when one is pending already.
    bool RequestSeekTime(int32_t milliseconds);
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
    OutputWindow window;

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

    // The file that begins at the read position (on its first frame) with
    // what it plays; passes over its header frame.
    void BeginFile(const StreamExtent& extent);
    // Samples per frame of the stream: 576 for MPEG-2 Layer III, else 1152.
    int SamplesPerFrame() const;
    // The seek to the frame of the target through the frame index, with the
    // frames before it that the reservoir and the filter banks need; false
    // when the source cannot be read around in.
    bool SeekToFrame(int32_t milliseconds);
    // The seek when that cannot be done: a byte position from the header
    // frame's seek table or the bit rate.
    void SeekByEstimate(int32_t milliseconds);

    StreamExtent extent_;
    FrameIndex index_;
    // Audio frames of the current file met so far: the number of the next.
    uint32_t audioFrame_ = 0;
    // File position of the current file's first audio frame (or where the
    // search for it begins).
    uint32_t firstAudioPosition_ = 0;
    // iTunSMPB of an ID3v2 tag passed over at a stream marker, for the file
    // that begins there.
    ITunesGapless markerTagGapless_;
    // The frame number the next unit takes after a seek, or 0.
    uint32_t frameNumberAfterSeek_ = 0;

    // The mode of the last frame of the stream's channel count.
    int lastMode_ = kStereo;
    char lastError_[256];
    std::atomic<int32_t> seekMilliseconds_{0};
    std::atomic<bool> seekPending_{false};
    LayerDecoder* layers_[2] = {nullptr, nullptr};
};

}  // namespace plyvane
