// Tags built byte by byte for the tag reader's tests, and a folder of files.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "id3_fields.h"

namespace plyvane::testing {

// Every field equal, each named in a failure.
void ExpectFields(const Id3Fields& actual, const Id3Fields& expected);

// A frame of a tag of `major` version (2: 3-character id and 24-bit size;
// 3: 32-bit size; 4: sync-safe size) with the given flags (2.3 and 2.4).
std::string Frame(int major, const std::string& id, const std::string& body, uint16_t flags = 0);
// A text frame: encoding byte, then the text as given (already encoded).
std::string TextFrame(int major, const std::string& id, const std::string& text, uint8_t encoding = 0);
// The tag header ("ID3", or "3DI" for a footer) with a sync-safe size.
std::string TagHeader(int major, uint8_t flags, uint32_t size, const char* marker = "ID3");
// A whole tag of the frames (no padding unless given).
std::string Tag(int major, const std::string& frames, uint8_t flags = 0);
// Zero bytes inserted after every 0xFF.
std::string Unsynchronised(const std::string& bytes);
// The 32-bit number as a sync-safe or a plain big-endian one.
std::string SyncSafeBytes(uint32_t value);
std::string BigEndianBytes(uint32_t value, int bytes = 4);
// UTF-16 code units as bytes, little- or big-endian, without a mark.
std::string Utf16(const std::u16string& text, bool bigEndian = false);

// An ID3v1 tag: "TAG" and the 125 bytes of the fields, each cut or
// zero-padded to its width.
std::string Id3v1(const std::string& title, const std::string& artist = "", const std::string& album = "",
                  const std::string& year = "", const std::string& comment = "");

// Whether the ANSI code page of this process is Windows-1252 (always
// natively; under Windows or Wine when the system's code page is it).
bool AnsiIsWindows1252();

// A fresh folder, removed with its content afterwards.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    std::string Path(const std::string& name) const;
    std::string Write(const std::string& name, const std::string& bytes) const;

private:
    std::filesystem::path path_;
};

// A committed test file of info/tests/data.
std::string TaggedFile(const std::string& name);

}  // namespace plyvane::testing
