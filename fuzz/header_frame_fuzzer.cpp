// Feeds arbitrary bytes to what reads an encoder's description of a stream:
// the header frame (Xing/Info with LAME's tag, VBRI), the ID3v2 tag's walk
// and its iTunSMPB comment, and the measuring of a stream against its file
// (the counts checked, the frames counted). Any stream file is a seed.
#include <cstddef>
#include <cstdint>

#include "bitstream_buffer.h"
#include "decoder.h"
#include "header_frame.h"
#include "id3v2_gapless.h"
#include "memory_byte_source.h"
#include "stream_extent.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace plyvane;
    if (size < 1 || size > (1u << 20)) return 0;
    const int bytes = static_cast<int>(size);

    // The bytes as one frame: the parse reads nothing outside them.
    HeaderFrame header;
    if (ParseHeaderFrame(data, bytes, header)) {
        if (TocByteOffset(header, data[size - 1] / 255.0) > header.bytes) __builtin_trap();
        if (header.hasToc && (header.frames == 0 || header.bytes == 0)) __builtin_trap();
    }
    ITunesGapless gapless;
    ParseGaplessFrame(data + 1, size - 1, (data[0] & 1) != 0, gapless);
    ParseITunSMPB(reinterpret_cast<const char*>(data), size, gapless);

    // The bytes as a stream: a tag walked frame by frame, the first frame's
    // header frame checked against the file, and the probe that does all of it.
    MemoryByteSource source(data, size, "fuzz");
    source.Open("fuzz");
    BitstreamBuffer buffer(8192, 1152);
    buffer.Attach(&source);
    buffer.SetRefillPermitted(true);
    buffer.Refill();
    if (buffer.Available() >= 10) {
        const uint32_t tagSize = Id3v2TagSize(buffer.ReadPointer());
        if (tagSize > 0) SkipId3v2Tag(buffer, tagSize, &gapless);
    }
    MemoryByteSource probed(data, size, "probe");
    probed.Open("probe");
    BitstreamBuffer probeBuffer(8192, 1152);
    probeBuffer.Attach(&probed);
    probeBuffer.SetRefillPermitted(true);
    StreamInfo info;
    StreamExtent extent;
    Decoder decoder;
    decoder.ProbeStream(info, probeBuffer, nullptr, &extent);
    return 0;
}
