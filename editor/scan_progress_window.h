// The list scan's progress in a CProgressWindow: "Initialize playlist
// playback", range 0..count, step 1. Without a window (it could not be
// created) the scan goes on without one.
#pragma once

#include <memory>

#include "playlist_scan.h"
#include "progress_window.h"

namespace plyvane {

class ScanProgressWindow : public ScanProgress {
public:
    explicit ScanProgressWindow(HWND owner) : owner_(owner) {}

    void Begin(int count) override;
    bool CancelRequested() override { return window_ != nullptr && window_->PollCancel(); }
    void ShowItem(const std::string& text) override {
        if (window_ != nullptr) window_->ShowItem(text.c_str());
    }
    void Step() override {
        if (window_ != nullptr) window_->Step();
    }
    void End() override { window_.reset(); }

private:
    HWND owner_;
    std::unique_ptr<CProgressWindow> window_;
};

}  // namespace plyvane
