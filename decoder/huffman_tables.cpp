#include "huffman_tables.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>

#include "diagnostics.h"

namespace plyvane {
namespace {

// Offsets of this size or more are relays: move by them and read the same
// side of the node reached.
constexpr uint32_t kRelayOffset = 250;
// A code never needs this many bits; a walk that gets there is illegal data.
constexpr int kMaxCodeBits = 32;
constexpr int kLineSize = 256;

struct WalkResult {
    int bits;  // bits used; 0 when the walk failed
    uint8_t value;
};

// Walks a tree taking bits from next(); fails after 32 bits or when an
// offset leads out of the node array.
template <typename NextBit>
WalkResult WalkTree(const uint8_t* tree, uint32_t treelen, NextBit next) {
    uint32_t pos = 0;
    for (int used = 0; used < kMaxCodeBits; ++used) {
        if (pos >= treelen) return {0, 0};
        if (tree[2 * pos] == 0) return {used, tree[2 * pos + 1]};
        int side = next();
        uint32_t step = tree[2 * pos + side];
        while (step >= kRelayOffset) {
            pos += step;
            if (pos >= treelen) return {0, 0};
            step = tree[2 * pos + side];
        }
        pos += step;
    }
    if (pos < treelen && tree[2 * pos] == 0) return {kMaxCodeBits, tree[2 * pos + 1]};
    return {0, 0};
}

// A cursor over the lines of the table text.
class TextLines {
public:
    explicit TextLines(const char* text) : at_(text) {}

    // Copies the next line that is not a comment into line; false at the end.
    bool NextKeywordLine(char* line) {
        while (*at_ != '\0') {
            const char* start = at_;
            const char* end = std::strchr(start, '\n');
            if (end == nullptr) end = start + std::strlen(start);
            at_ = *end == '\n' ? end + 1 : end;
            if (*start == '#' || static_cast<unsigned char>(*start) < ' ') continue;
            size_t length = static_cast<size_t>(end - start);
            if (length >= kLineSize) length = kLineSize - 1;
            std::memcpy(line, start, length);
            line[length] = '\0';
            return true;
        }
        line[0] = '\0';
        return false;
    }

    // Reads count pairs of hexadecimal bytes, which may run over several
    // lines, then moves on to the line after the last pair. Missing numbers
    // read as 0.
    void ReadPairs(uint8_t* out, uint32_t count) {
        for (uint32_t i = 0; i < 2 * count; ++i) {
            char* end = nullptr;
            unsigned long value = std::strtoul(at_, &end, 16);
            if (end == at_) {
                out[i] = 0;
                continue;
            }
            out[i] = static_cast<uint8_t>(value);
            at_ = end;
        }
        if (count == 0) return;
        while (*at_ != '\0' && *at_ != '\n') ++at_;
        if (*at_ == '\n') ++at_;
    }

private:
    const char* at_;
};

uint32_t ReverseBits(uint32_t value, uint32_t width) {
    uint32_t reversed = 0;
    for (uint32_t i = 0; i < width; ++i) reversed |= ((value >> i) & 1u) << (width - 1 - i);
    return reversed;
}

// Builds the direct look-up of up to 9 bits: entry r holds the leaf and code
// length for the first bits r of a code, read most significant first.
void BuildLookup(HuffmanTable& table) {
    uint32_t width = 0;
    for (uint32_t p = 0; p < (1u << kMaxLookupWidth); ++p) {
        uint32_t bits = p;
        WalkResult leaf = WalkTree(table.tree, table.treelen, [&bits] {
            int bit = static_cast<int>(bits & 1u);
            bits >>= 1;
            return bit;
        });
        if (static_cast<uint32_t>(leaf.bits) > width) width = static_cast<uint32_t>(leaf.bits);
    }
    if (width > kMaxLookupWidth) width = kMaxLookupWidth;
    table.lookupWidth = width;
    table.lookupLengths = new (std::nothrow) uint8_t[1u << width];
    table.lookupValues = new (std::nothrow) uint8_t[1u << width];
    if (table.lookupLengths == nullptr || table.lookupValues == nullptr) {
        FatalError(-111, DiagnosticTo::kOutput, "Shit\n");
    }
    for (uint32_t j = 0; j < (1u << width); ++j) {
        uint32_t bits = j;
        WalkResult leaf = WalkTree(table.tree, table.treelen, [&bits] {
            int bit = static_cast<int>(bits & 1u);
            bits >>= 1;
            return bit;
        });
        uint32_t r = ReverseBits(j, width);
        // Failed walks (damaged tree) get a length beyond the width, which
        // sends decoding to the tree walk and its illegal-code handling.
        table.lookupLengths[r] = static_cast<uint8_t>(leaf.bits == 0 ? kMaxCodeBits : leaf.bits);
        table.lookupValues[r] = leaf.value;
    }
}

HuffmanTable g_tables[kHuffmanTableCount];
bool g_loaded = false;

// Decodes one code; returns the leaf value (x * 16 + y, or v w x y), or -1
// for an illegal code.
int DecodeCode(const HuffmanTable& table, BitstreamBuffer& reader) {
    if (table.lookupWidth > 0) {
        uint32_t prefix = reader.Peek(static_cast<int>(table.lookupWidth));
        uint32_t length = table.lookupLengths[prefix];
        if (length <= table.lookupWidth) {
            reader.Skip(static_cast<int>(length));
            return table.lookupValues[prefix];
        }
    }
    WalkResult leaf = WalkTree(table.tree, table.treelen,
                               [&reader] { return static_cast<int>(reader.ReadBit()); });
    if (leaf.bits == 0) {
        Diagnostic(DiagnosticTo::kOutput, "Illegal Huffman code in data.\n");
        return -1;
    }
    return leaf.value;
}

int ApplySign(int value, BitstreamBuffer& reader) {
    if (value != 0 && reader.ReadBit()) return -value;
    return value;
}

}  // namespace

int ParseHuffmanTables(const char* text, HuffmanTable* tables) {
    TextLines lines(text);
    char line[kLineSize];
    for (uint32_t i = 0; i < kHuffmanTableCount; ++i) {
        lines.NextKeywordLine(line);
        char keyword[kLineSize] = {};
        char name[kLineSize] = {};
        unsigned treelen = 0, xlen = 0, ylen = 0, linbits = 0;
        std::sscanf(line, "%255s %255s %u %u %u %u", keyword, name, &treelen, &xlen, &ylen, &linbits);
        if (std::strcmp(keyword, ".end") == 0) return static_cast<int>(i);
        if (std::strcmp(keyword, ".table") != 0) {
            Diagnostic(DiagnosticTo::kError, "huffman table %u data corrupted\n", i);
            return -1;
        }
        HuffmanTable& table = tables[i];
        table = HuffmanTable{};
        // linbits beyond 16 would shift past the mask's width.
        if (linbits > 16) linbits = 16;
        table.xlen = xlen;
        table.ylen = ylen;
        table.linbits = linbits;
        table.linmax = (1u << linbits) - 1;
        // The name field keeps the first three characters (names are 0..33).
        std::memcpy(table.name, name, std::min(std::strlen(name), sizeof table.name - 1));
        unsigned number = ~0u;
        if (std::sscanf(name, "%u", &number) != 1 || number != i) {
            Diagnostic(DiagnosticTo::kError, "wrong table number %u\n", i);
            return -2;
        }

        lines.NextKeywordLine(line);
        char kind[kLineSize] = {};
        unsigned referenced = 0;
        std::sscanf(line, "%255s %u", kind, &referenced);
        if (std::strcmp(kind, ".reference") == 0) {
            const HuffmanTable* other = referenced < i ? &tables[referenced] : nullptr;
            if (other == nullptr || other->xlen != table.xlen || other->ylen != table.ylen) {
                Diagnostic(DiagnosticTo::kError, "wrong table %u reference\n", i);
                return -3;
            }
            table.reference = static_cast<int32_t>(referenced);
            table.tree = other->tree;
            table.treelen = other->treelen;
        } else if (std::strcmp(kind, ".treedata") == 0) {
            // Every node is reached by byte offsets, so a tree holds at most
            // a few hundred nodes; cap what a corrupted text may ask for.
            if (treelen > 4096) treelen = 4096;
            uint8_t* tree = new (std::nothrow) uint8_t[treelen == 0 ? 2 : 2 * treelen]();
            if (tree == nullptr) {
                FatalError(-10, DiagnosticTo::kError, "heaperror at table %d\n", static_cast<int>(i));
            }
            lines.ReadPairs(tree, treelen);
            table.tree = tree;
            table.treelen = treelen;
        } else {
            Diagnostic(DiagnosticTo::kError, "huffman decodertable error at table %d\n", static_cast<int>(i));
        }
        if (table.tree == nullptr) {
            // Without a tree the table decodes nothing, like table 0.
            table.treelen = 0;
            table.lookupWidth = 0;
            continue;
        }
        BuildLookup(table);
    }
    return kHuffmanTableCount;
}

void FreeHuffmanTables(HuffmanTable* tables, int count) {
    for (int i = 0; i < count; ++i) {
        delete[] tables[i].lookupLengths;
        delete[] tables[i].lookupValues;
        if (tables[i].reference == -1) delete[] tables[i].tree;
        tables[i] = HuffmanTable{};
    }
}

void LoadHuffmanTables() {
    if (g_loaded) return;
    int count = ParseHuffmanTables(kHuffmanTableText, g_tables);
    if (count != kHuffmanTableCount) {
        FatalError(4, DiagnosticTo::kError, "decoder table read error\n");
    }
    g_loaded = true;
}

bool HuffmanTablesLoaded() { return g_loaded; }

void ReleaseHuffmanTables() {
    if (!g_loaded) return;
    FreeHuffmanTables(g_tables, kHuffmanTableCount);
    g_loaded = false;
}

const HuffmanTable* HuffmanTableSet() { return g_tables; }

void DecodePair(const HuffmanTable& table, BitstreamBuffer& reader, int& x, int& y) {
    if (table.treelen == 0) {
        x = y = 0;
        return;
    }
    int value = DecodeCode(table, reader);
    int vx, vy;
    if (value < 0) {
        vx = 2 * (static_cast<int>(table.xlen) - 1);
        vy = 2 * (static_cast<int>(table.ylen) - 1);
    } else {
        vx = value >> 4;
        vy = value & 15;
    }
    if (table.linbits > 0 && vx == static_cast<int>(table.xlen) - 1)
        vx += static_cast<int>(reader.Read(static_cast<int>(table.linbits)));
    x = ApplySign(vx, reader);
    if (table.linbits > 0 && vy == static_cast<int>(table.ylen) - 1)
        vy += static_cast<int>(reader.Read(static_cast<int>(table.linbits)));
    y = ApplySign(vy, reader);
}

void DecodeQuad(const HuffmanTable& table, BitstreamBuffer& reader, int* values) {
    int value = table.treelen == 0 ? 0 : DecodeCode(table, reader);
    if (value < 0) value = 15;  // the largest value of a count1 code
    values[0] = ApplySign((value >> 3) & 1, reader);
    values[1] = ApplySign((value >> 2) & 1, reader);
    values[2] = ApplySign((value >> 1) & 1, reader);
    values[3] = ApplySign(value & 1, reader);
}

}  // namespace plyvane
