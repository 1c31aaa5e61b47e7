// The "Properties" page (CStreamProperties) of the stream file properties:
// the entry's file name, its volume preset and its playback duration on
// spins, and the duration of the file itself. When the sheet was opened to
// edit the entry, OK writes what the spins moved into it.
#pragma once

#include <string>

#include "property_sheet.h"
#include "stream_probe.h"
#include "stream_properties.h"

namespace plyvane {

class CStreamProperties : public PropertyPage {
public:
    // `entry` and `probe` outlive the page; `entry` changes on OK only when
    // `writeBack` is set.
    CStreamProperties(std::string& entry, StreamProbe& probe, bool writeBack);

protected:
    BOOL OnInitDialog() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    bool OnApply() override;
    LRESULT OnQuerySiblings(WPARAM code, PropertyPage* sender) override;

private:
    void ShowEntry();
    void ShowPlaybackDuration();

    std::string& entry_;
    StreamProbe& probe_;
    bool writeBack_;
    PropertiesPage shown_;
    bool volumeMoved_ = false;
};

}  // namespace plyvane
