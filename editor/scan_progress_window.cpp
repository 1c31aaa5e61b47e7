#include "scan_progress_window.h"

#include "resource_ids.h"

namespace plyvane {

void ScanProgressWindow::Begin(int count) {
    window_ = std::make_unique<CProgressWindow>(IDS_INITIALIZE_PLAYLIST);
    window_->SetRange(0, count);
    window_->SetStep(1);
    if (!window_->Create(owner_)) window_.reset();
}

}  // namespace plyvane
