// The ID3v1 tag: the last 128 bytes of an audio file, "TAG" and then title
// (30 bytes), artist (30), album (30), year (4), comment (30) and a genre
// byte. Texts end at their first zero byte or their width; the bytes are
// shown as they are.
#pragma once

#include <cstddef>

#include "id3_fields.h"
#include "input_file.h"

namespace plyvane {

inline constexpr std::size_t kId3v1Size = 128;
// What follows "TAG".
inline constexpr std::size_t kId3v1BodySize = 125;

// Reads the 125 bytes after "TAG" of the file's ID3v1 tag into `body`
// (the file opened for reading, others may not write it meanwhile): 1 when
// the last 128 bytes begin with "TAG" and were read whole, else 0.
int ReadID3Tag(const char* fileName, unsigned char (&body)[kId3v1BodySize]);
// The same on a file already open (readers of several tags open it once).
int ReadID3Tag(InputFile& file, unsigned char (&body)[kId3v1BodySize]);

// The texts of a tag body, each up to its first zero byte.
Id3Fields Id3v1FieldsOf(const unsigned char (&body)[kId3v1BodySize]);

// Both steps: false without a tag.
bool ReadId3v1Fields(InputFile& file, Id3Fields& fields);

}  // namespace plyvane
