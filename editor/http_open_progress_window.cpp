#include "http_open_progress_window.h"

#include "resource_ids.h"

namespace plyvane {

namespace {
// The stages of an open the HTTP source reports.
constexpr int kOpenStages = 8;
}  // namespace

void HttpOpenProgressWindow::Begin() {
    window_ = std::make_unique<CProgressWindow>(IDS_INTERNET_CONNECTION);
    window_->SetRange(1, kOpenStages);
    window_->SetStep(1);
    // Without its window the open goes on unseen.
    if (!window_->Create(owner_)) window_.reset();
}

void HttpOpenProgressWindow::Step(const std::string& text) {
    if (window_ == nullptr) return;
    window_->ShowItem(text.c_str());
    window_->Step();
}

void HttpOpenProgressWindow::End() { window_.reset(); }

}  // namespace plyvane
