// The about box: the product name, "MPEG Audio Player", the version and the
// logo, closed with "Continue".
#pragma once

#include <string>

#include "dialog.h"
#include "tool_tips.h"

namespace plyvane {

class CAboutBox : public Dialog {
public:
    explicit CAboutBox(const char* versionString);

protected:
    BOOL OnInitDialog() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void OnDestroy() override;

private:
    std::string version_;
    ToolTips tips_;
    HFONT nameFont_ = nullptr;
};

}  // namespace plyvane
