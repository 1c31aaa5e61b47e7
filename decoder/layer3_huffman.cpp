#include "layer3_huffman.h"

#include <cstring>

#include "huffman_tables.h"

namespace plyvane {
namespace {

// The reservoir's bytes read 64 bits at a time: enough for a pair's code
// (up to 19 bits), both linbits fields and both signs.
class MainDataReader {
public:
    explicit MainDataReader(const BitstreamBuffer& reservoir)
        : data_(reservoir.ReadPointer() - reservoir.ReadOffset()),
          lastByte_(reservoir.Capacity() + BitstreamBuffer::kGuardBytes - 8),
          position_(BitPosition(reservoir)) {}

    int Position() const { return position_; }
    void MoveTo(int position) { position_ = position; }
    void Skip(int bits) { position_ += bits; }
    // The 64 bits from the position, first bit most significant; at least 57
    // of them from the data. Past the storage (a damaged granule) the load
    // stays on the last 8 bytes of the guard.
    uint64_t Peek() const {
        int byte = position_ >> 3;
        if (byte > lastByte_) byte = lastByte_;
        uint64_t word;
        std::memcpy(&word, data_ + byte, sizeof word);
#if !defined(__BYTE_ORDER__) || __BYTE_ORDER__ != __ORDER_BIG_ENDIAN__
        word = __builtin_bswap64(word);
#endif
        return word << (position_ & 7);
    }

private:
    const uint8_t* data_;
    int lastByte_;
    int position_;
};

// The code at the top of bits: its leaf entry and the bits it takes; false
// for an illegal code.
inline bool LookUpCode(const HuffmanTable& table, uint64_t bits, uint16_t& leaf, int& used) {
    namespace entry = huffman_entry;
    if (table.decode == nullptr) return false;
    const int rootBits = static_cast<int>(table.decodeRootBits);
    uint16_t e = table.decode[bits >> (64 - rootBits)];
    used = 0;
    if (entry::IsLink(e)) {
        used = rootBits;
        do {
            const int levelBits = entry::LinkBits(e);
            e = table.decode[entry::LinkOffset(e) + ((bits << used) >> (64 - levelBits))];
            if (entry::IsLink(e)) used += levelBits;
        } while (entry::IsLink(e));
    }
    if (!entry::IsLeaf(e)) return false;
    leaf = e;
    used += entry::LeafBits(e);
    return true;
}

// The requantized value of a signed Huffman value.
inline float Requantized(int value, const float* pow43, float scale) {
    int magnitude = value < 0 ? -value : value;
    if (magnitude > kMaxMagnitude) magnitude = kMaxMagnitude;
    const float m = pow43[magnitude] * scale;
    return value < 0 ? -m : m;
}

class SpectrumDecoder {
public:
    SpectrumDecoder(BitstreamBuffer& reservoir, const LineScales& scales, float* xr)
        : reservoir_(reservoir), reader_(reservoir), scales_(scales), xr_(xr),
          pow43_(RequantizeTables::Get().pow43) {}

    int Line() const { return line_; }
    int Position() const { return reader_.Position(); }

    // Lines up to end (even) as pairs of table.
    void Pairs(const HuffmanTable& table, int end) {
        if (table.treelen == 0) {
            for (; line_ < end; ++line_) xr_[line_] = 0.0f;
            return;
        }
        const int xLast = static_cast<int>(table.xlen) - 1;
        const int yLast = static_cast<int>(table.ylen) - 1;
        const int linbits = static_cast<int>(table.linbits);
        for (; line_ < end; line_ += 2) {
            const float scale = ScaleOfLine();
            const uint64_t bits = reader_.Peek();
            uint16_t leaf;
            int used;
            if (!LookUpCode(table, bits, leaf, used)) {
                SlowPair(table, scale);
                continue;
            }
            int x = huffman_entry::LeafValue(leaf) >> 4;
            int y = huffman_entry::LeafValue(leaf) & 15;
            xr_[line_] = Value(bits, used, x, xLast, linbits, scale);
            xr_[line_ + 1] = Value(bits, used, y, yLast, linbits, scale);
            reader_.Skip(used);
        }
    }

    // Count1 quadruples of table while the granule has bits left and the
    // line is below 573; a quadruple that runs past granuleEnd is dropped.
    void Quadruples(const HuffmanTable& table, int granuleEnd) {
        while (line_ < 573 && reader_.Position() < granuleEnd) {
            const uint64_t bits = reader_.Peek();
            uint16_t leaf;
            int used;
            int values[4];
            if (LookUpCode(table, bits, leaf, used)) {
                const int v = huffman_entry::LeafValue(leaf);
                for (int i = 0; i < 4; ++i) {
                    values[i] = (v >> (3 - i)) & 1;
                    if (values[i] != 0) values[i] = ((bits << used++) >> 63) ? -1 : 1;
                }
                reader_.Skip(used);
            } else {
                SyncReservoir();
                DecodeQuad(table, reservoir_, values);
                reader_.MoveTo(BitPosition(reservoir_));
            }
            if (reader_.Position() > granuleEnd) break;
            for (int i = 0; i < 4; ++i, ++line_) xr_[line_] = values[i] == 0 ? 0.0f : Requantized(values[i], pow43_, ScaleOfLine());
        }
    }

private:
    float ScaleOfLine() {
        while (line_ >= scales_.end[run_]) ++run_;
        return scales_.scale[run_];
    }

    // One value of a pair: linbits when it is the table's largest, then
    // its sign when it is not 0; used counts the bits taken from bits.
    float Value(uint64_t bits, int& used, int value, int last, int linbits, float scale) const {
        if (linbits > 0 && value == last) {
            value += static_cast<int>((bits << used) >> (64 - linbits));
            used += linbits;
            if (value > kMaxMagnitude) value = kMaxMagnitude;
        }
        if (value == 0) return 0.0f;
        const float m = pow43_[value] * scale;
        return (bits << used++) >> 63 ? -m : m;
    }

    // An illegal code: the tree walk reports it and gives the largest values.
    void SlowPair(const HuffmanTable& table, float scale) {
        SyncReservoir();
        int x, y;
        DecodePair(table, reservoir_, x, y);
        reader_.MoveTo(BitPosition(reservoir_));
        xr_[line_] = Requantized(x, pow43_, scale);
        xr_[line_ + 1] = Requantized(y, pow43_, scale);
    }

    void SyncReservoir() { MoveToBit(reservoir_, reader_.Position()); }

    BitstreamBuffer& reservoir_;
    MainDataReader reader_;
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
