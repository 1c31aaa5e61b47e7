// The "ID3 Tag" page (CFileID3) of the stream file properties: the entry's
// tag, shown and never edited. "---" in every field without a tag.
#pragma once

#include <string>

#include "property_sheet.h"

namespace plyvane {

class CFileID3 : public PropertyPage {
public:
    // `entry` is the record the sheet describes; it outlives the page.
    explicit CFileID3(const std::string& entry);

protected:
    BOOL OnInitDialog() override;
    LRESULT OnQuerySiblings(WPARAM code, PropertyPage* sender) override;

private:
    void ShowTag();

    const std::string& entry_;
};

}  // namespace plyvane
