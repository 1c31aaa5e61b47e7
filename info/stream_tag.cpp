#include "stream_tag.h"

#include "id3v1_tag.h"
#include "id3v2_tag.h"

namespace plyvane {

namespace {
bool IsBlank(const std::string& text) { return text.find_first_not_of(' ') == std::string::npos; }
}  // namespace

StreamTagKind ReadStreamTag(const char* fileName, Id3Fields& fields) {
    fields = Id3Fields();
    InputFile file;
    if (!file.Open(fileName)) return StreamTagKind::kNone;
    if (ReadId3v1Fields(file, fields)) return StreamTagKind::kId3v1;
    if (ReadId3v2Tag(file, fields)) return StreamTagKind::kId3v2;
    fields = Id3Fields();
    return StreamTagKind::kNone;
}

bool ReadTagTitle(const char* fileName, std::string& title) {
    InputFile file;
    if (!file.Open(fileName)) return false;
    Id3Fields fields;
    if (ReadId3v1Fields(file, fields) && !IsBlank(fields.title)) {
        title = fields.title;
        return true;
    }
    if (ReadId3v2Tag(file, fields) && !IsBlank(fields.title)) {
        title = fields.title;
        return true;
    }
    return false;
}

}  // namespace plyvane
