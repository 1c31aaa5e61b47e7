#include "property_playback.h"

namespace plyvane {

namespace {
CommandSink PostTo(HWND owner) {
    return [owner](int command, intptr_t parameter) {
        if (owner != nullptr) {
            ::PostMessageA(owner, WM_COMMAND, MAKEWPARAM(command, 0),
                           static_cast<LPARAM>(parameter));
        }
    };
}
}  // namespace

CPropertyPlayback::CPropertyPlayback(HWND owner, WaveDeviceCatalog& catalog)
    : PropertySheet(kPropertySheetCaption),
      owner_(owner),
      record_(catalog),
      shared_(record_),
      audioDevice_(shared_, catalog, PostTo(owner)),
      playbackMode_(shared_, PostTo(owner)),
      buffers_(shared_, PostTo(owner)),
      controls_(PostTo(owner)) {
    record_.LoadConfig();
    AddPage(audioDevice_);
    AddPage(playbackMode_);
    AddPage(buffers_);
    AddPage(controls_);
    AddPage(internet_);
}

}  // namespace plyvane
