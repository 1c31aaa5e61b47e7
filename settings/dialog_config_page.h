// The "Controls" page (CDialogConfig): the taskbar controls, the information
// scroller and the size of the main window. The main window applies them at
// once from the commands the page posts.
#pragma once

#include "controls_settings.h"
#include "property_sheet.h"

namespace plyvane {

class CDialogConfig : public PropertyPage {
public:
    explicit CDialogConfig(CommandSink post);

protected:
    BOOL OnInitDialog() override;
    void OnCommand(int id, int code, HWND control) override;
    bool OnApply() override;
    void OnReset() override;

private:
    void ShowSettings();
    void MarkChanged();

    CommandSink post_;
    ControlsSettings settings_;
    bool changed_ = false;
};

}  // namespace plyvane
