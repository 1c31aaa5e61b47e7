#include "layer3_huffman.h"

#include <cstring>

#include "bit_reader.h"
#include "huffman_tables.h"

namespace plyvane {
namespace {

// The requantized value of a signed Huffman value.
inline float Requantized(int value, const float* pow43, float scale) {
    int magnitude = value < 0 ? -value : value;
    if (magnitude > kMaxMagnitude) magnitude = kMaxMagnitude;
    const float m = pow43[magnitude] * scale;
    return value < 0 ? -m : m;
}

// A pair's code (19 bits at most) and both signs; linbits are made sure of
// when they come.
constexpr int kPairBits = 19 + 2;
// A quadruple's code and four signs.
constexpr int kQuadrupleBits = 6 + 4;

// magnitude with the sign bit at offset used of bits, when value is not 0
// (which has no sign bit); used counts it.
inline float Signed(float magnitude, int value, BitWord bits, int& used) {
    const uint32_t present = value != 0 ? 1u : 0u;
    const uint32_t sign = BitReader::Bit(bits, used) & present;
    used += static_cast<int>(present);
    uint32_t pattern;
    std::memcpy(&pattern, &magnitude, sizeof pattern);
    pattern ^= sign << 31;
    std::memcpy(&magnitude, &pattern, sizeof magnitude);
    return magnitude;
}

class SpectrumDecoder {
public:
    SpectrumDecoder(BitstreamBuffer& reservoir, const LineScales& scales, float* xr)
        : reservoir_(reservoir), reader_(reservoir), scales_(scales), xr_(xr),
          pow43_(RequantizeTables::Get().pow43) {}

    int Line() const { return line_; }

    // Lines up to end (even) as pairs of table.
    void Pairs(const HuffmanTable& table, int end) {
        if (table.treelen == 0) {
            for (; line_ < end; ++line_) xr_[line_] = 0.0f;
        } else if (table.linbits == 0) {
            PairsOf<false>(table, end);
        } else {
            PairsOf<true>(table, end);
        }
    }

    // Count1 quadruples of table while the granule has bits left and the
    // line is below 573; a quadruple that runs past granuleEnd is dropped.
    void Quadruples(const HuffmanTable& table, int granuleEnd) {
        const uint16_t* decode = table.decode;
        const int rootBits = static_cast<int>(table.decodeRootBits);
        CachedBits cache(reader_);
        while (line_ < 573 && cache.Position() < granuleEnd) {
            cache.Need(kQuadrupleBits);
            const BitWord bits = cache.Bits();
            const int code = decode != nullptr ? LookUpHuffmanCode(decode, rootBits, bits) : -1;
            float values[4] = {0.0f, 0.0f, 0.0f, 0.0f};
            if (code >= 0) {
                int used = code >> 8;
                for (int i = 0; i < 4 && (code & 15) != 0; ++i) {
                    // A value of 1 requantizes to the scale itself.
                    if ((code >> (3 - i)) & 1) values[i] = Signed(ScaleOfLine(line_ + i), 1, bits, used);
                }
                if (cache.Position() + used > granuleEnd) break;
                cache.Consume(used);
            } else {
                int signedValues[4];
                reader_.MoveTo(cache.Position());
                SyncReservoir();
                DecodeQuad(table, reservoir_, signedValues);
                reader_.MoveTo(BitPosition(reservoir_));
                cache = CachedBits(reader_);
                if (cache.Position() > granuleEnd) break;
                for (int i = 0; i < 4; ++i) values[i] = Requantized(signedValues[i], pow43_, ScaleOfLine(line_ + i));
            }
            for (int i = 0; i < 4; ++i) xr_[line_ + i] = values[i];
            line_ += 4;
        }
        reader_.MoveTo(cache.Position());
    }

private:
    // The decoding loop keeps its state in locals (the compiler would
    // reload members after every store to xr_).
    template <bool kLinbits>
    void PairsOf(const HuffmanTable& table, int end) {
        const uint16_t* decode = table.decode;
        const int rootBits = static_cast<int>(table.decodeRootBits);
        const int xLast = static_cast<int>(table.xlen) - 1;
        const int yLast = static_cast<int>(table.ylen) - 1;
        const int linbits = static_cast<int>(table.linbits);
        const float* pow43 = pow43_;
        float* xr = xr_;
        CachedBits cache(reader_);
        int line = line_;
        // Set at the first pair: a region may be empty, and its start then
        // the end of the granule, which no run covers.
        float scale = 0.0f;
        int runEnd = 0;
        for (; line < end; line += 2) {
            if (line >= runEnd) {
                scale = ScaleOfLine(line);
                runEnd = scales_.end[run_];
            }
            cache.Need(kPairBits);
            BitWord bits = cache.Bits();
            const int code = decode != nullptr ? LookUpHuffmanCode(decode, rootBits, bits) : -1;
            if (code < 0) {
                reader_.MoveTo(cache.Position());
                SlowPair(table, line, scale);
                cache = CachedBits(reader_);
                continue;
            }
            int used = code >> 8;
            int x = (code >> 4) & 15;
            int y = code & 15;
            // Linbits of x, sign of x, linbits of y, sign of y; linbits may
            // need the word read again.
            auto ensure = [&](int count) {
                if (used + count > cache.Left()) {
                    cache.Consume(used);
                    cache.Need(count);
                    bits = cache.Bits();
                    used = 0;
                }
            };
            if (kLinbits && x == xLast) {
                ensure(linbits + 1);
                x = WithLinbits(x, linbits, bits, used);
            }
            xr[line] = Signed(pow43[x] * scale, x, bits, used);
            if (kLinbits) {
                ensure(y == yLast ? linbits + 1 : 1);
                if (y == yLast) y = WithLinbits(y, linbits, bits, used);
            }
            xr[line + 1] = Signed(pow43[y] * scale, y, bits, used);
            cache.Consume(used);
        }
        reader_.MoveTo(cache.Position());
        line_ = line;
    }

    // The scale of a line (below 576) at or after the last one asked for.
    float ScaleOfLine(int line) {
        while (line >= scales_.end[run_] && run_ + 1 < scales_.count) ++run_;
        return scales_.scale[run_];
    }

    // The largest value of a table with its linbits added.
    static int WithLinbits(int value, int linbits, BitWord bits, int& used) {
        value += static_cast<int>(BitReader::Field(bits, used, linbits));
        used += linbits;
        return value < kMaxMagnitude ? value : kMaxMagnitude;
    }

    // An illegal code: the tree walk reports it and gives the largest values.
    void SlowPair(const HuffmanTable& table, int line, float scale) {
        SyncReservoir();
        int x, y;
        DecodePair(table, reservoir_, x, y);
        reader_.MoveTo(BitPosition(reservoir_));
        xr_[line] = Requantized(x, pow43_, scale);
        xr_[line + 1] = Requantized(y, pow43_, scale);
    }

    void SyncReservoir() { MoveToBit(reservoir_, reader_.Position()); }

    BitstreamBuffer& reservoir_;
    BitReader reader_;
    const LineScales& scales_;
    float* xr_;
    const float* pow43_;
    int line_ = 0;
    int run_ = 0;
};

}  // namespace

void MoveToBit(BitstreamBuffer& reader, int position) {
    if (position < 0) position = 0;
    const int current = BitPosition(reader);
    if (position >= current) {
        reader.Skip(position - current);
        return;
    }
    // Back to the byte before the target, then forward to its bit.
    const int targetByte = position >> 3;
    if (targetByte == 0) {
        reader.SkipBytes(-reader.ReadOffset());
        if (reader.BitOffset() <= position) reader.Skip(position - reader.BitOffset());
        return;
    }
    reader.SkipBytes(targetByte - 1 - reader.ReadOffset());
    reader.Skip(8 - reader.BitOffset() + (position & 7));
}

int DecodeSpectrum(BitstreamBuffer& reservoir, const GranuleChannelInfo& gc, const ScaleFactorBands& bands,
                   int granuleEnd, const LineScales& scales, float* xr) {
    const HuffmanTable* tables = HuffmanTableSet();
    int region1, region2;
    if (gc.ShortBlocks()) {
        region1 = 36;
        region2 = 576;
    } else {
        // Damaged region counts may point past the last long boundary.
        int first = gc.region0_count + 1;
        int second = gc.region0_count + gc.region1_count + 2;
        if (first > 22) first = 22;
        if (second > 22) second = 22;
        region1 = bands.l[first];
        region2 = bands.l[second];
    }
    const int bigEnd = 2 * gc.big_values;  // at most 576
    if (region1 > bigEnd) region1 = bigEnd;
    if (region2 > bigEnd) region2 = bigEnd;
    if (region2 < region1) region2 = region1;

    SpectrumDecoder decoder(reservoir, scales, xr);
    decoder.Pairs(tables[gc.table_select[0] & 31], region1);
    decoder.Pairs(tables[gc.table_select[1] & 31], region2);
    decoder.Pairs(tables[gc.table_select[2] & 31], bigEnd);
    decoder.Quadruples(tables[kFirstCount1Table + (gc.count1table_select & 1)], granuleEnd);
    // Whatever the codes used, the next granule starts at granuleEnd.
    MoveToBit(reservoir, granuleEnd);
    const int nonZero = decoder.Line();
    std::memset(xr + nonZero, 0, sizeof(float) * static_cast<size_t>(576 - nonZero));
    return nonZero;
}

}  // namespace plyvane
