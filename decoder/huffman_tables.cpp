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

// The node one bit (side 0 or 1) below pos, through relays; treelen or more
// when the walk leaves the node array.
uint32_t Child(const uint8_t* tree, uint32_t treelen, uint32_t pos, int side) {
    uint32_t step = tree[2 * pos + side];
    while (step >= kRelayOffset) {
        pos += step;
        if (pos >= treelen) return treelen;
        step = tree[2 * pos + side];
    }
    return pos + step;
}

bool IsLeafNode(const uint8_t* tree, uint32_t treelen, uint32_t pos) { return pos < treelen && tree[2 * pos] == 0; }

// Walks a tree from pos, `used` bits already read, taking further bits from
// next(); fails after 32 bits or when an offset leads out of the node array.
template <typename NextBit>
WalkResult WalkTree(const uint8_t* tree, uint32_t treelen, uint32_t pos, int used, NextBit next) {
    for (; used < kMaxCodeBits; ++used) {
        if (pos >= treelen) return {0, 0};
        if (tree[2 * pos] == 0) return {used, tree[2 * pos + 1]};
        pos = Child(tree, treelen, pos, next());
    }
    if (IsLeafNode(tree, treelen, pos)) return {kMaxCodeBits, tree[2 * pos + 1]};
    return {0, 0};
}

// A walk that has read its prefix and goes on with 0 bits, as the look-up
// pads prefixes shorter than a code.
WalkResult ContinueWithZeros(const uint8_t* tree, uint32_t treelen, uint32_t pos, int used) {
    return WalkTree(tree, treelen, pos, used, [] { return 0; });
}

// Calls visit(prefix, depth, node) for every prefix of at most `limit` bits
// (read most significant first) at which a walk from pos ends: at a leaf,
// outside the node array, or at an inner node after `limit` bits. The
// prefixes partition all `limit`-bit patterns.
template <typename Visit>
void VisitWalkEnds(const uint8_t* tree, uint32_t treelen, uint32_t pos, int limit, Visit& visit, uint32_t prefix = 0,
                   int depth = 0) {
    if (pos >= treelen || tree[2 * pos] == 0 || depth == limit) {
        visit(prefix, depth, pos);
        return;
    }
    for (int side = 0; side < 2; ++side)
        VisitWalkEnds(tree, treelen, Child(tree, treelen, pos, side), limit, visit, (prefix << 1) | side, depth + 1);
}

// The look-up width: the most bits a walk of a 9-bit pattern (then 0 bits)
// uses, at most 9.
uint32_t LookupWidth(const uint8_t* tree, uint32_t treelen) {
    int width = 0;
    auto widest = [&](uint32_t, int depth, uint32_t node) {
        const int bits = ContinueWithZeros(tree, treelen, node, depth).bits;
        if (bits > width) width = bits;
    };
    VisitWalkEnds(tree, treelen, 0, kMaxLookupWidth, widest);
    return static_cast<uint32_t>(std::min(width, kMaxLookupWidth));
}

[[noreturn]] void LookupAllocationFailed() {
    FatalError(-111, DiagnosticTo::kOutput, "Shit\n");
}

// The direct look-up of up to 9 bits: entry r holds the leaf and code length
// for the first bits r of a code, read most significant first.
void BuildLookup(HuffmanTable& table) {
    const uint32_t width = LookupWidth(table.tree, table.treelen);
    table.lookupWidth = width;
    table.lookupLengths = new (std::nothrow) uint8_t[1u << width];
    table.lookupValues = new (std::nothrow) uint8_t[1u << width];
    if (table.lookupLengths == nullptr || table.lookupValues == nullptr) LookupAllocationFailed();
    auto fill = [&](uint32_t prefix, int depth, uint32_t node) {
        const WalkResult leaf = ContinueWithZeros(table.tree, table.treelen, node, depth);
        const uint32_t first = prefix << (width - depth);
        const uint32_t count = 1u << (width - depth);
        // Failed walks (damaged tree) get a length beyond the width, which
        // sends decoding to the tree walk and its illegal-code handling.
        std::memset(table.lookupLengths + first, leaf.bits == 0 ? kMaxCodeBits : leaf.bits, count);
        std::memset(table.lookupValues + first, leaf.value, count);
    };
    VisitWalkEnds(table.tree, table.treelen, 0, static_cast<int>(width), fill);
}

// Builds the multi-level decoding table of a tree (see huffman_entry).
class DecodeTableBuilder {
public:
    static constexpr int kMaxEntries = 4096;  // what a link's offset can address
    static constexpr int kMaxLevelBits = 7;   // what a link's width can hold

    DecodeTableBuilder(const uint8_t* tree, uint32_t treelen) : tree_(tree), treelen_(treelen) {}

    // Allocates and fills the table; its first level is rootBits wide.
    const uint16_t* Build(uint32_t rootBits) {
        used_ = 1 << rootBits;
        FillLevel(0, static_cast<int>(rootBits), 0, 0);
        uint16_t* table = new (std::nothrow) uint16_t[used_];
        if (table == nullptr) LookupAllocationFailed();
        std::memcpy(table, entries_, sizeof(uint16_t) * static_cast<size_t>(used_));
        return table;
    }

private:
    // The 2^bits entries at offset for the walks from node pos, which has
    // `depth` code bits above it.
    void FillLevel(uint32_t pos, int bits, int offset, int depth) {
        auto fill = [&](uint32_t prefix, int end, uint32_t node) {
            uint16_t entry = 0;  // illegal
            if (IsLeafNode(tree_, treelen_, node)) {
                entry = static_cast<uint16_t>(end << 8 | tree_[2 * node + 1]);
            } else if (node < treelen_) {
                entry = Link(node, depth + bits);
            }
            const int first = offset + static_cast<int>(prefix << (bits - end));
            for (int i = 0; i < (1 << (bits - end)); ++i) entries_[first + i] = entry;
        };
        VisitWalkEnds(tree_, treelen_, pos, bits, fill);
    }

    // A further level for the codes below inner node pos; illegal when the
    // codes would exceed 32 bits or the table its size.
    uint16_t Link(uint32_t pos, int depth) {
        int bits = 0;
        auto deepest = [&](uint32_t, int end, uint32_t) { bits = std::max(bits, end); };
        VisitWalkEnds(tree_, treelen_, pos, kMaxLevelBits, deepest);
        if (bits == 0 || depth + bits > kMaxCodeBits || used_ + (1 << bits) > kMaxEntries) return 0;
        const int offset = used_;
        used_ += 1 << bits;
        FillLevel(pos, bits, offset, depth);
        return static_cast<uint16_t>(0x8000 | bits << 12 | offset);
    }

    const uint8_t* tree_;
    uint32_t treelen_;
    int used_ = 0;
    uint16_t entries_[kMaxEntries] = {};
};

unsigned HexDigit(char c) {
    if (c >= '0' && c <= '9') return static_cast<unsigned>(c - '0');
    if (c >= 'a' && c <= 'f') return static_cast<unsigned>(c - 'a' + 10);
    if (c >= 'A' && c <= 'F') return static_cast<unsigned>(c - 'A' + 10);
    return 16;
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
        for (uint32_t i = 0; i < 2 * count; ++i) out[i] = ReadHex();
        if (count == 0) return;
        while (*at_ != '\0' && *at_ != '\n') ++at_;
        if (*at_ == '\n') ++at_;
    }

private:
    // strtoul(at_, &end, 16) cut to a byte; the plain form (white space, then
    // up to 7 hexadecimal digits) is read here, anything else by strtoul.
    uint8_t ReadHex() {
        const char* p = at_;
        while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
        const char* digits = p;
        unsigned value = 0;
        while (p - digits < 7 && HexDigit(*p) < 16) value = value * 16 + HexDigit(*p++);
        if (p == digits || *p == 'x' || *p == 'X' || HexDigit(*p) < 16) {
            char* end = nullptr;
            const unsigned long parsed = std::strtoul(at_, &end, 16);
            if (end == at_) return 0;
            at_ = end;
            return static_cast<uint8_t>(parsed);
        }
        at_ = p;
        return static_cast<uint8_t>(value);
    }

    const char* at_;
};

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
    const WalkResult leaf =
        WalkTree(table.tree, table.treelen, 0, 0, [&reader] { return static_cast<int>(reader.ReadBit()); });
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
            // The same tree: the same look-ups.
            table.lookupWidth = other->lookupWidth;
            table.lookupLengths = other->lookupLengths;
            table.lookupValues = other->lookupValues;
            table.decode = other->decode;
            table.decodeRootBits = other->decodeRootBits;
            continue;
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
        table.decodeRootBits = std::max(table.lookupWidth, 1u);
        table.decode = DecodeTableBuilder(table.tree, table.treelen).Build(table.decodeRootBits);
    }
    return kHuffmanTableCount;
}

void FreeHuffmanTables(HuffmanTable* tables, int count) {
    for (int i = 0; i < count; ++i) {
        // A table that references another shares its tree and look-ups.
        if (tables[i].reference == -1) {
            delete[] tables[i].lookupLengths;
            delete[] tables[i].lookupValues;
            delete[] tables[i].decode;
            delete[] tables[i].tree;
        }
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
