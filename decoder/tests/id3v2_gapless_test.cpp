// iTunes' gapless comment in the ID3v2 tag before the audio: the value's
// fields, the frames of every tag version it may sit in, and the walk past
// a tag that leaves the read position on the audio.
#include "id3v2_gapless.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "memory_byte_source.h"

namespace plyvane {
namespace {

constexpr char kValue[] = " 00000000 00000210 0000086A 0000000000002286";

TEST(ITunSMPB, TheValuesFieldsAreCheckedAsTheyAreRead) {
    struct Case {
        const char* text;
        bool ok;
        uint32_t priming, padding;
        uint64_t samples;
    };
    const Case cases[] = {
        {kValue, true, 0x210, 0x86A, 0x2286},
        {"0 840 1C0 46E00 0 0 0", true, 0x840, 0x1C0, 0x46E00},
        {"\t0\t210\t86a\t2286", true, 0x210, 0x86A, 0x2286},
        {"0 4001 1 1", false, 0, 0, 0},                  // priming beyond 16384
        {"0 210 86A 0", false, 0, 0, 0},                 // nothing to play
        {"0 210 86A 10000000001", false, 0, 0, 0},       // beyond 2^40
        {"0 210 86A 00000000000000001", false, 0, 0, 0}, // 17 digits
        {"0 210 86A", false, 0, 0, 0},
        {"0 210 x86A 2286", false, 0, 0, 0},
        {"", false, 0, 0, 0},
    };
    for (const Case& c : cases) {
        ITunesGapless out;
        EXPECT_EQ(ParseITunSMPB(c.text, std::strlen(c.text), out), c.ok) << c.text;
        if (!c.ok) continue;
        EXPECT_EQ(out.priming, c.priming) << c.text;
        EXPECT_EQ(out.padding, c.padding) << c.text;
        EXPECT_EQ(out.samples, c.samples) << c.text;
    }
}

std::vector<uint8_t> Bytes(const std::string& text) { return std::vector<uint8_t>(text.begin(), text.end()); }

std::string Utf16(const std::string& ascii, bool bom, bool bigEndian) {
    std::string out = bom ? (bigEndian ? std::string("\xFE\xFF", 2) : std::string("\xFF\xFE", 2)) : std::string();
    for (char c : ascii) out += bigEndian ? std::string(1, '\0') + c : std::string(1, c) + '\0';
    return out;
}

// A frame of the tag version: its id, size (syncsafe in version 4) and body.
std::string Frame(int version, const std::string& id, const std::string& body) {
    std::string out = id;
    const uint32_t size = static_cast<uint32_t>(body.size());
    if (version == 2) {
        out += std::string{static_cast<char>(size >> 16), static_cast<char>(size >> 8), static_cast<char>(size)};
        return out + body;
    }
    if (version == 4) {
        out += std::string{static_cast<char>((size >> 21) & 127), static_cast<char>((size >> 14) & 127),
                           static_cast<char>((size >> 7) & 127), static_cast<char>(size & 127)};
    } else {
        out += std::string{static_cast<char>(size >> 24), static_cast<char>(size >> 16), static_cast<char>(size >> 8),
                           static_cast<char>(size)};
    }
    return out + std::string(2, '\0') + body;
}

std::string Tag(int version, const std::string& frames, int flags = 0) {
    const uint32_t size = static_cast<uint32_t>(frames.size());
    std::string out = "ID3";
    out += std::string{static_cast<char>(version),          '\0',
                       static_cast<char>(flags),            static_cast<char>((size >> 21) & 127),
                       static_cast<char>((size >> 14) & 127), static_cast<char>((size >> 7) & 127),
                       static_cast<char>(size & 127)};
    return out + frames;
}

// Walks the tag at the start of bytes; returns what it found and where the
// read position ended up.
ITunesGapless Walk(const std::string& bytes, uint32_t* position = nullptr) {
    MemoryByteSource source(Bytes(bytes), "tag");
    source.Open("tag");
    BitstreamBuffer buffer(8192, 1152);
    buffer.Attach(&source);
    buffer.SetRefillPermitted(true);
    buffer.Refill();
    ITunesGapless found;
    const uint32_t size = Id3v2TagSize(buffer.ReadPointer());
    EXPECT_TRUE(SkipId3v2Tag(buffer, size, &found));
    if (position != nullptr) *position = buffer.FilePosition();
    return found;
}

TEST(ITunSMPB, FoundInTheCommentFramesOfEveryTagVersion) {
    const std::string comment = std::string("\0eng", 4) + "iTunSMPB" + '\0' + kValue;
    const std::string userText = std::string("\0", 1) + "iTunSMPB" + '\0' + kValue;
    const std::string picture(5000, '\xFF');  // false sync words everywhere
    struct Case {
        const char* name;
        std::string tag;
    };
    const Case cases[] = {
        {"v2.2 COM", Tag(2, Frame(2, "COM", comment))},
        {"v2.3 COMM after a picture", Tag(3, Frame(3, "APIC", picture) + Frame(3, "COMM", comment))},
        {"v2.4 COMM, syncsafe frame size", Tag(4, Frame(4, "APIC", picture) + Frame(4, "COMM", comment))},
        {"v2.3 TXXX", Tag(3, Frame(3, "TXXX", userText))},
        {"v2.2 TXX", Tag(2, Frame(2, "TXX", userText))},
        {"UTF-16 with a byte order mark",
         Tag(3, Frame(3, "COMM", std::string("\1eng", 4) + Utf16("iTunSMPB", true, false) + std::string(2, '\0') +
                                      Utf16(kValue, true, false)))},
        {"UTF-16 big-endian",
         Tag(4, Frame(4, "COMM", std::string("\2eng", 4) + Utf16("iTunSMPB", false, true) + std::string(2, '\0') +
                                      Utf16(kValue, false, true)))},
        {"after other comments",
         Tag(3, Frame(3, "COMM", std::string("\0eng", 4) + "iTunNORM" + '\0' + " 0000 0000") +
                    Frame(3, "COMM", comment))},
        {"with padding after it", Tag(3, Frame(3, "COMM", comment) + std::string(300, '\0'))},
    };
    for (const Case& c : cases) {
        const std::string stream = c.tag + "AUDIO";
        uint32_t position = 0;
        const ITunesGapless found = Walk(stream, &position);
        EXPECT_TRUE(found.present) << c.name;
        EXPECT_EQ(found.priming, 0x210u) << c.name;
        EXPECT_EQ(found.samples, 0x2286u) << c.name;
        EXPECT_EQ(position, c.tag.size()) << c.name << ": the read position on the audio";
    }
}

TEST(ITunSMPB, TagsThatCannotBeTrustedArePassedOverWhole) {
    const std::string comment = std::string("\0eng", 4) + "iTunSMPB" + '\0' + kValue;
    struct Case {
        const char* name;
        std::string tag;
    };
    const Case cases[] = {
        {"another description", Tag(3, Frame(3, "COMM", std::string("\0eng", 4) + "iTunSMPX" + '\0' + kValue))},
        {"v2.3 unsynchronised", Tag(3, Frame(3, "COMM", comment), 0x80)},
        {"a frame larger than the tag",
         Tag(3, Frame(3, "COMM", comment)).replace(10 + 7, 1, std::string(1, '\x7F'))},
        {"a compressed frame", [&] {
             std::string frame = Frame(3, "COMM", comment);
             frame[9] = '\x80';
             return Tag(3, frame);
         }()},
        {"a value that is not plain text",
         Tag(3, Frame(3, "COMM", std::string("\0eng", 4) + "iTunSMPB" + '\0' + " 0 210 \xE9 2286"))},
        {"an encoding that does not exist", Tag(3, Frame(3, "COMM", std::string("\5eng", 4) + "iTunSMPB" + kValue))},
    };
    for (const Case& c : cases) {
        uint32_t position = 0;
        EXPECT_FALSE(Walk(c.tag + "AUDIO", &position).present) << c.name;
        EXPECT_EQ(position, c.tag.size()) << c.name;
    }
}

}  // namespace
}  // namespace plyvane
