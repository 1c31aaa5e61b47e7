#include "file_id3_page.h"

#include "resource_ids.h"
#include "stream_properties.h"

namespace plyvane {

namespace {
struct TagField {
    int id;
    int width;  // the ID3v1 field width in bytes
};
constexpr TagField kTagFields[] = {
    {IDC_ID3_TITLE, 30}, {IDC_ID3_ARTIST, 30}, {IDC_ID3_ALBUM, 30}, {IDC_ID3_YEAR, 4}, {IDC_ID3_COMMENT, 30},
};
}  // namespace

CFileID3::CFileID3(const std::string& entry) : PropertyPage(IDD_STREAM_ID3, "ID3 Tag"), entry_(entry) {}

BOOL CFileID3::OnInitDialog() {
    for (const TagField& field : kTagFields) {
        ::SendDlgItemMessageA(Handle(), field.id, EM_LIMITTEXT, static_cast<WPARAM>(field.width), 0);
        ::SendDlgItemMessageA(Handle(), field.id, EM_SETREADONLY, TRUE, 0);
    }
    ShowTag();
    return TRUE;
}

void CFileID3::ShowTag() {
    const TagPage page = DescribeTagPage(entry_);
    for (std::size_t i = 0; i < page.fields.size(); ++i)
        ::SetDlgItemTextA(Handle(), kTagFields[i].id, page.fields[i].c_str());
}

LRESULT CFileID3::OnQuerySiblings(WPARAM code, PropertyPage* sender) {
    (void)code;
    if (sender != this) ShowTag();
    return 0;
}

}  // namespace plyvane
