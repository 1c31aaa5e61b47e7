// The progress window an HTTP open shows while it connects: caption
// "Internet connection", one step of the bar for each stage of the
// connection, its text above the bar. Over an owner window, which is
// disabled meanwhile.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "http_byte_source.h"
#include "progress_window.h"

namespace plyvane {

class HttpOpenProgressWindow : public HttpOpenProgress {
public:
    explicit HttpOpenProgressWindow(HWND owner) : owner_(owner) {}

    void Begin() override;
    void Step(const std::string& text) override;
    void End() override;

private:
    HWND owner_;
    std::unique_ptr<CProgressWindow> window_;
};

}  // namespace plyvane
