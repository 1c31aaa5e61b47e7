// Which tag describes a file: its ID3v1 tag when it has one, else its ID3v2
// tag (most files of today carry only that).
#pragma once

#include <string>

#include "id3_fields.h"

namespace plyvane {

enum class StreamTagKind { kNone, kId3v1, kId3v2 };

// The fields of the file's ID3v1 tag, or of its ID3v2 tag when it has no
// ID3v1 tag; kNone (and empty fields) when it has neither or cannot be read.
StreamTagKind ReadStreamTag(const char* fileName, Id3Fields& fields);

// The title a new playlist entry takes: the ID3v1 title as it stands
// (trailing blanks kept), or the ID3v2 title when there is no ID3v1 tag or
// its title is blank. False when neither gives one.
bool ReadTagTitle(const char* fileName, std::string& title);

}  // namespace plyvane
