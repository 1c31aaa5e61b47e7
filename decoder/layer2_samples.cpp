#include "layer2_samples.h"

#include "bit_reader.h"

namespace plyvane {
namespace {

// The code, left-aligned in 16 bits with its top bit inverted, read as a
// two's complement fraction (before the scale factor).
inline float Requantized(uint32_t code, const Layer2QuantClass& q) {
    const int16_t s = static_cast<int16_t>(static_cast<uint16_t>((code << (16 - q.sampleBits)) ^ 0x8000u));
    return (static_cast<float>(s) + q.offset) * q.factor;
}

// Where one subband's samples go: the first channel that receives them and
// the last (the same one, or both channels above the joint-stereo bound).
struct Target {
    int sb;
    int firstChannel;
    int lastChannel;
};

// The 12 triples of one subband: each granule's codes lie granuleBits
// further on. kLevels is the base of a grouped class, 0 for three plain codes.
template <int kLevels>
void ReadSubband(const BitReader& reader, int position, int granuleBits, const Layer2QuantClass& q,
                 const uint8_t (*degroup)[3], Target target, const float (&scaleFactor)[2][32][3],
                 SubbandSamples& samples) {
    for (int granule = 0; granule < 12; ++granule, position += granuleBits) {
        const BitWord bits = reader.PeekAt(position);
        // Three scalars, not an array: the compiler would store an array's
        // values one by one and reload them as a vector, a stall each time.
        float first, second, third;
        if (kLevels != 0) {
            const uint8_t* split = degroup[BitReader::Field(bits, 0, q.codeBits)];
            first = Requantized(split[0], q);
            second = Requantized(split[1], q);
            third = Requantized(split[2], q);
        } else if (3 * q.codeBits <= kPeekBits) {
            first = Requantized(BitReader::Field(bits, 0, q.codeBits), q);
            second = Requantized(BitReader::Field(bits, q.codeBits, q.codeBits), q);
            third = Requantized(BitReader::Field(bits, 2 * q.codeBits, q.codeBits), q);
        } else {
            // Up to 48 bits: a 32-bit word holds one code at a time.
            first = Requantized(BitReader::Field(bits, 0, q.codeBits), q);
            second = Requantized(BitReader::Field(reader.PeekAt(position + q.codeBits), 0, q.codeBits), q);
            third = Requantized(BitReader::Field(reader.PeekAt(position + 2 * q.codeBits), 0, q.codeBits), q);
        }
        for (int ch = target.firstChannel; ch <= target.lastChannel; ++ch) {
            const float scale = scaleFactor[ch][target.sb][granule / 4];
            float* out = samples.Slot(ch, 3 * granule) + target.sb;
            out[0] = first * scale;
            out[SubbandSamples::kSubbands] = second * scale;
            out[2 * SubbandSamples::kSubbands] = third * scale;
        }
    }
}

}  // namespace

void ReadLayer2Samples(BitstreamBuffer& stream, const Layer2AllocationTable& table, int bound, int channels,
                       const int (&allocation)[2][32], const float (&scaleFactor)[2][32][3],
                       SubbandSamples& samples) {
    const Layer2Tables& tables = Layer2Tables::Get();
    // Every granule codes the same subbands with the same classes, so each
    // subband's codes lie at the same offset in every granule: read them
    // subband by subband, with no decision per sample.
    struct Coded {
        Target target;
        const Layer2QuantClass* q;  // null: no samples
        int offset;                 // in bits, within a granule
    };
    Coded coded[2 * 32];
    int count = 0;
    int granuleBits = 0;
    for (int sb = 0; sb < table.sblimit; ++sb) {
        const bool shared = sb >= bound;
        for (int ch = 0; ch < (shared ? 1 : channels); ++ch) {
            const int alloc = allocation[ch][sb];
            const uint8_t quantClass = table.quantClass[sb][alloc];
            const Layer2QuantClass* q = alloc != 0 && quantClass != kNoSamples ? &tables.classes[quantClass] : nullptr;
            coded[count++] = {{sb, ch, shared ? channels - 1 : ch}, q, granuleBits};
            if (q != nullptr) granuleBits += q->grouped ? q->codeBits : 3 * q->codeBits;
        }
    }
    BitReader reader(stream);
    const int start = reader.Position();
    for (int i = 0; i < count; ++i) {
        const Coded& c = coded[i];
        if (c.q == nullptr) {
            for (int ch = c.target.firstChannel; ch <= c.target.lastChannel; ++ch) {
                for (int slot = 0; slot < SubbandSamples::kSlots; ++slot) samples.Slot(ch, slot)[c.target.sb] = 0.0f;
            }
            continue;
        }
        const int at = start + c.offset;
        const Layer2QuantClass& q = *c.q;
        switch (q.grouped ? q.levels : 0) {
            case 3: ReadSubband<3>(reader, at, granuleBits, q, tables.degroup3, c.target, scaleFactor, samples); break;
            case 5: ReadSubband<5>(reader, at, granuleBits, q, tables.degroup5, c.target, scaleFactor, samples); break;
            case 9: ReadSubband<9>(reader, at, granuleBits, q, tables.degroup9, c.target, scaleFactor, samples); break;
            default: ReadSubband<0>(reader, at, granuleBits, q, nullptr, c.target, scaleFactor, samples); break;
        }
    }
    stream.Skip(12 * granuleBits);
}

}  // namespace plyvane
