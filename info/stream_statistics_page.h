// The "MPEG statistics" page (CStreamProperties2) of the stream file
// properties: type, sample frequency, channel mode, bit rate, pack ratio and
// description of the entry's stream, from the sheet's probe.
#pragma once

#include <string>

#include "property_sheet.h"
#include "stream_probe.h"

namespace plyvane {

class CStreamProperties2 : public PropertyPage {
public:
    // `entry` and `probe` outlive the page.
    CStreamProperties2(const std::string& entry, StreamProbe& probe);

protected:
    BOOL OnInitDialog() override;
    LRESULT OnQuerySiblings(WPARAM code, PropertyPage* sender) override;

private:
    void ShowStream();

    const std::string& entry_;
    StreamProbe& probe_;
};

}  // namespace plyvane
