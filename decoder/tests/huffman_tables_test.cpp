// The Huffman tables against ISO/IEC 11172-3 Table 3-B.7 as the reference
// text lists it: every code through the look-up and through the tree walk.
#include "huffman_tables.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace plyvane {
namespace {

struct ReferenceCode {
    int value;         // x * 16 + y, or v w x y
    std::string bits;  // first transmitted bit leftmost
};

struct ReferenceTable {
    int number = 0;
    std::string kind;
    int xlen = 0, ylen = 0, linbits = 0;
    int from = -1;  // table whose codes it shares
    std::vector<ReferenceCode> codes;
};

std::vector<ReferenceTable> ReadReferenceTables() {
    std::ifstream in(std::string(PLYVANE_SHARED_DIR) + "/reference/huffman_codes.txt");
    std::vector<ReferenceTable> tables;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        if (line.rfind("table ", 0) == 0) {
            ReferenceTable t;
            std::string word, from;
            fields >> word >> t.number >> word >> t.kind >> word >> t.xlen >> word >> t.ylen >> word >> t.linbits >>
                word >> word >> word >> from;
            t.from = from == "own" || from == "none" ? -1 : std::stoi(from);
            tables.push_back(t);
        } else if (tables.back().kind == "pair") {
            int x, y, length;
            std::string bits;
            fields >> x >> y >> length >> bits;
            tables.back().codes.push_back({x * 16 + y, bits});
        } else {
            int value, length;
            std::string bits;
            fields >> value >> length >> bits;
            tables.back().codes.push_back({value, bits});
        }
    }
    return tables;
}

// Bits written most significant first into a reservoir-style buffer.
class BitWriter {
public:
    void Put(const std::string& bits) {
        for (char c : bits) PutBit(c == '1');
    }
    void Put(uint32_t value, int count) {
        for (int i = count - 1; i >= 0; --i) PutBit((value >> i) & 1u);
    }
    void PutBit(bool bit) {
        if (used_ % 8 == 0) bytes_.push_back(0);
        if (bit) bytes_.back() |= static_cast<uint8_t>(0x80u >> (used_ % 8));
        ++used_;
    }
    int Used() const { return used_; }
    void AppendTo(BitstreamBuffer& buffer) const { buffer.Append(bytes_.data(), static_cast<int>(bytes_.size())); }

private:
    std::vector<uint8_t> bytes_;
    int used_ = 0;
};

int BitsRead(const BitstreamBuffer& b) { return b.ReadOffset() * 8 + b.BitOffset(); }

class HuffmanTables : public testing::Test {
protected:
    static void SetUpTestSuite() {
        LoadHuffmanTables();
        reference_ = new std::vector<ReferenceTable>(ReadReferenceTables());
    }
    static void TearDownTestSuite() {
        delete reference_;
        reference_ = nullptr;
    }
    static std::vector<ReferenceTable>* reference_;
};
std::vector<ReferenceTable>* HuffmanTables::reference_ = nullptr;

// Padding after each code: the decoder must not be led astray by what follows.
const char* const kPaddings[] = {"0000000000000000000000", "1111111111111111111111", "1010101010101010101010"};

TEST_F(HuffmanTables, EveryReferenceCodeDecodesThroughLookupAndTree) {
    ASSERT_EQ(34u, reference_->size());
    const HuffmanTable* tables = HuffmanTableSet();
    int checked = 0;
    for (const ReferenceTable& ref : *reference_) {
        const HuffmanTable& loaded = tables[ref.number];
        EXPECT_EQ(ref.linbits, static_cast<int>(loaded.linbits)) << "table " << ref.number;
        const std::vector<ReferenceCode>& codes = ref.from >= 0 ? (*reference_)[ref.from].codes : ref.codes;
        if (ref.kind == "empty") {
            EXPECT_EQ(0u, loaded.treelen) << "table " << ref.number;
            continue;
        }
        // The same table forced onto the bit-by-bit walk.
        HuffmanTable treeOnly = loaded;
        treeOnly.lookupWidth = 0;
        for (const HuffmanTable* table : {&loaded, static_cast<const HuffmanTable*>(&treeOnly)}) {
            for (const ReferenceCode& code : codes) {
                for (const char* padding : kPaddings) {
                    BitWriter w;
                    w.Put(code.bits);
                    int expected[4];
                    int count;
                    if (ref.kind == "pair") {
                        count = 2;
                        expected[0] = code.value >> 4;
                        expected[1] = code.value & 15;
                    } else {
                        count = 4;
                        for (int i = 0; i < 4; ++i) expected[i] = (code.value >> (3 - i)) & 1;
                    }
                    // Largest linbits, and a negative sign on every other value.
                    for (int i = 0; i < count; ++i) {
                        if (ref.kind == "pair" && ref.linbits > 0 && expected[i] == ref.xlen - 1) {
                            const uint32_t extra = (1u << ref.linbits) - 1;
                            w.Put(extra, ref.linbits);
                            expected[i] += static_cast<int>(extra);
                        }
                        if (expected[i] != 0) {
                            w.PutBit(i % 2 == 1);
                            if (i % 2 == 1) expected[i] = -expected[i];
                        }
                    }
                    const int used = w.Used();
                    w.Put(padding);
                    BitstreamBuffer reader(4096, 0);
                    w.AppendTo(reader);
                    int got[4] = {0, 0, 0, 0};
                    if (count == 2) DecodePair(*table, reader, got[0], got[1]);
                    else DecodeQuad(*table, reader, got);
                    const bool lookup = table == &loaded;
                    for (int i = 0; i < count; ++i)
                        ASSERT_EQ(expected[i], got[i]) << "table " << ref.number << " code " << code.bits
                                                       << (lookup ? " (look-up)" : " (tree)");
                    ASSERT_EQ(used, BitsRead(reader)) << "table " << ref.number << " code " << code.bits;
                    ++checked;
                }
            }
        }
    }
    EXPECT_GT(checked, 6 * 2000);
}

// The decoding tables that the Layer III decoding uses (up to three look-ups
// a code): every code gives its value and length whatever follows it.
TEST_F(HuffmanTables, EveryReferenceCodeDecodesThroughTheDecodingTable) {
    const HuffmanTable* tables = HuffmanTableSet();
    int checked = 0;
    for (const ReferenceTable& ref : *reference_) {
        if (ref.kind == "empty") continue;
        const HuffmanTable& table = tables[ref.number];
        ASSERT_NE(nullptr, table.decode) << "table " << ref.number;
        EXPECT_LE(table.decodeRootBits, static_cast<uint32_t>(kMaxLookupWidth)) << "table " << ref.number;
        const std::vector<ReferenceCode>& codes = ref.from >= 0 ? (*reference_)[ref.from].codes : ref.codes;
        for (const ReferenceCode& code : codes) {
            for (const char* padding : kPaddings) {
                BitWord bits = 0;
                const std::string all = code.bits + padding;
                for (size_t i = 0; i < static_cast<size_t>(kBitWordBits); ++i)
                    bits = static_cast<BitWord>(bits << 1 | (i < all.size() && all[i] == '1' ? 1u : 0u));
                const int found = LookUpHuffmanCode(table.decode, static_cast<int>(table.decodeRootBits), bits);
                const std::string where = "table " + std::to_string(ref.number) + " code " + code.bits;
                ASSERT_EQ(code.value, found & 0xFF) << where;
                ASSERT_EQ(static_cast<int>(code.bits.size()), found >> 8) << where;
                ++checked;
            }
        }
    }
    EXPECT_GT(checked, 3 * 2000);
}

TEST_F(HuffmanTables, Table1LooksUpThreeBits) {
    const HuffmanTable& t = HuffmanTableSet()[1];
    ASSERT_EQ(3u, t.lookupWidth);
    struct Entry {
        int prefix, x, y, length;
    } const entries[] = {{4, 0, 0, 1}, {5, 0, 0, 1}, {6, 0, 0, 1}, {7, 0, 0, 1},
                         {2, 1, 0, 2}, {3, 1, 0, 2}, {1, 0, 1, 3}, {0, 1, 1, 3}};
    for (const Entry& e : entries) {
        EXPECT_EQ(e.length, t.lookupLengths[e.prefix]) << e.prefix;
        EXPECT_EQ(e.x * 16 + e.y, t.lookupValues[e.prefix]) << e.prefix;
    }
}

TEST_F(HuffmanTables, EmptyTablesReadNothingAndSharedTreesDifferInLinbits) {
    BitstreamBuffer reader(4096, 0);
    const uint8_t ones[4] = {0xFF, 0xFF, 0xFF, 0xFF};
    reader.Append(ones, 4);
    for (int empty : {0, 4, 14}) {
        int x = 7, y = 7;
        DecodePair(HuffmanTableSet()[empty], reader, x, y);
        EXPECT_EQ(0, x);
        EXPECT_EQ(0, y);
        EXPECT_EQ(0, BitsRead(reader));
    }
    const int linbits[] = {1, 2, 3, 4, 6, 8, 10, 13};
    for (int t = 16; t <= 23; ++t) {
        EXPECT_EQ(HuffmanTableSet()[16].tree, HuffmanTableSet()[t].tree);
        EXPECT_EQ(static_cast<uint32_t>(linbits[t - 16]), HuffmanTableSet()[t].linbits);
    }
    for (int t = 25; t <= 31; ++t) EXPECT_EQ(HuffmanTableSet()[24].tree, HuffmanTableSet()[t].tree);
}

TEST_F(HuffmanTables, AnIllegalCodeGivesTheLargestValuesAndDecodingGoesOn) {
    // A tree whose every path loops on itself never reaches a leaf.
    const char* text =
        ".table 0 1 2 2 0\n"
        ".treedata\n"
        "1 0\n"
        ".end\n";
    HuffmanTable tables[kHuffmanTableCount];
    ASSERT_EQ(1, ParseHuffmanTables(text, tables));
    BitstreamBuffer reader(4096, 0);
    const uint8_t bits[8] = {0x55, 0x55, 0x55, 0x55, 0x55, 0x55, 0, 0};
    reader.Append(bits, 8);
    int x = 0, y = 0;
    testing::internal::CaptureStdout();
    DecodePair(tables[0], reader, x, y);
    EXPECT_EQ("Illegal Huffman code in data.\n", testing::internal::GetCapturedStdout());
    EXPECT_EQ(2, std::abs(x));
    EXPECT_EQ(2, std::abs(y));
    FreeHuffmanTables(tables, 1);
}

TEST(HuffmanTableText, ParserReportsShortAndCorruptedTexts) {
    HuffmanTable tables[kHuffmanTableCount];
    // An early .end: fewer tables, which the Layer III set-up treats as fatal.
    std::string text = kHuffmanTableText;
    std::string cut = text.substr(0, text.find(".table 5 ")) + ".end\n";
    EXPECT_EQ(5, ParseHuffmanTables(cut.c_str(), tables));
    FreeHuffmanTables(tables, 5);

    struct Case {
        const char* text;
        int result;
        const char* message;
    } const cases[] = {
        {"# comment\n.tabel 0 0 0 0 0\n", -1, "huffman table 0 data corrupted\n"},
        {".table 1 0 0 0 0\n.treedata\n.end\n", -2, "wrong table number 0\n"},
        {".table 0 7 2 2 0\n.treedata\n2 1 0 0 2 1 0 10 2 1 0 1 0 11\n.table 1 0 3 3 0\n.reference 0\n", -3,
         "wrong table 1 reference\n"},
        {".table 0 0 0 0 0\n.something\n.end\n", 1, "huffman decodertable error at table 0\n"},
    };
    for (const Case& c : cases) {
        testing::internal::CaptureStderr();
        const int result = ParseHuffmanTables(c.text, tables);
        EXPECT_EQ(c.message, testing::internal::GetCapturedStderr()) << c.text;
        EXPECT_EQ(c.result, result) << c.text;
        FreeHuffmanTables(tables, result > 0 ? result : 1);
    }
}

TEST(HuffmanTableText, ALoadAfterReleaseBuildsFreshTables) {
    LoadHuffmanTables();
    ReleaseHuffmanTables();
    EXPECT_FALSE(HuffmanTablesLoaded());
    EXPECT_EQ(nullptr, HuffmanTableSet()[1].tree);
    LoadHuffmanTables();
    ASSERT_TRUE(HuffmanTablesLoaded());
    EXPECT_EQ(3u, HuffmanTableSet()[1].lookupWidth);
}

}  // namespace
}  // namespace plyvane
