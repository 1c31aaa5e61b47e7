// The playlist entry record: one text whose fields are separated by ";":
//   0 path or address, 1 title (empty: the file name), 2 volume preset in
//   percent (0: none), 3 duration in ms (0: unknown, find it by scanning).
// A plain path is a valid record.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace plyvane {

enum EntryFieldIndex { kEntryPath = 0, kEntryTitle = 1, kEntryVolume = 2, kEntryDuration = 3 };

// The longest entry the player takes, after completion with the list's
// folder: its name buffers and the system's file functions hold no more.
inline constexpr std::size_t kMaxEntryLength = 255;

// The text of field n (from 0): empty when the record has fewer fields.
std::string EntryField(std::string_view record, int n);
// Field n read as a number the way atol reads it (blanks, sign, leading
// digits; anything else gives 0), held to the 32-bit range.
int32_t EntryNumber(std::string_view record, int n);

// The record with field n replaced; missing fields before it are added empty.
std::string SetEntryField(std::string_view record, int n, std::string_view value);
std::string SetEntryField(std::string_view record, int n, int32_t value);

// The path without its folder (up to the last "\", else the last "/") unless
// keepFolder, and without its extension (from a last "." after the folder)
// unless keepExtension; the password of an address is masked.
std::string DisplayNameOf(std::string_view path, bool keepFolder, bool keepExtension);

// The record as it may be shown: the password of an address masked.
std::string MaskedEntryRecord(std::string_view record);

// Whether the name begins with "http://" in any case.
bool IsHttpAddress(std::string_view name);

}  // namespace plyvane
