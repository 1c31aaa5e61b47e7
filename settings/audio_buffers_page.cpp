#include "audio_buffers_page.h"

#include <commctrl.h>

#include "buffer_time.h"
#include "resource_ids.h"
#include "settings_store.h"

namespace plyvane {

CAudioBuffers::CAudioBuffers(SharedPlaybackConfig& shared, CommandSink post)
    : PlaybackConfigPage(IDD_PAGE_BUFFERS, "Buffers", shared, std::move(post)) {}

BOOL CAudioBuffers::OnInitDialog() {
    ::SendDlgItemMessageA(Handle(), IDC_BUFFER_SLIDER, TBM_SETRANGE, TRUE,
                          MAKELPARAM(kBufferSliderFirst, kBufferSliderLast));
    ShowRecord();
    ShowDisableContinuous();
    return TRUE;
}

void CAudioBuffers::ShowRecord() {
    const OutputSettings& values = Record().Values();
    int position = BufferSliderPosition(values.Buffers, values.FramesPerBuffer);
    // A time beyond the slider's ends leaves the thumb at the end; the text
    // still tells the time.
    ::SendDlgItemMessageA(Handle(), IDC_BUFFER_SLIDER, TBM_SETPOS, TRUE, position);
    ::SetDlgItemTextA(Handle(), IDC_BUFFER_TIME, BufferTimeText(position).c_str());
}

void CAudioBuffers::ShowDisableContinuous() {
    uint32_t disable = 0;
    ReadDwordSetting(kConfigurationKey, "DisableContinuous", disable);
    ::CheckDlgButton(Handle(), IDC_DISABLE_CONTINUOUS, disable != 0 ? BST_CHECKED : BST_UNCHECKED);
}

void CAudioBuffers::OnSliderMoved() {
    int position = static_cast<int>(
        ::SendDlgItemMessageA(Handle(), IDC_BUFFER_SLIDER, TBM_GETPOS, 0, 0));
    const OutputSettings& values = Record().Values();
    int32_t buffers = BuffersForSliderPosition(position, values.FramesPerBuffer);
    int changed = 0;
    if (buffers != values.Buffers) {
        Record().SetBuffers(buffers);
        changed = 1;
    }
    AfterEdit(changed);  // snaps the slider back to the time the ring has
}

bool CAudioBuffers::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message == WM_HSCROLL && reinterpret_cast<HWND>(lParam) == Item(IDC_BUFFER_SLIDER)) {
        OnSliderMoved();
        result = 0;
        return true;
    }
    return PlaybackConfigPage::OnMessage(message, wParam, lParam, result);
}

void CAudioBuffers::OnCommand(int id, int code, HWND control) {
    (void)control;
    if (id == IDC_DISABLE_CONTINUOUS && code == BN_CLICKED && Initialised()) SetModified(true);
}

bool CAudioBuffers::OnApply() {
    PlaybackConfigPage::OnApply();
    bool disable = ::IsDlgButtonChecked(Handle(), IDC_DISABLE_CONTINUOUS) == BST_CHECKED;
    WriteDwordSetting(kConfigurationKey, "DisableContinuous", disable ? 1 : 0);
    return true;
}

void CAudioBuffers::OnReset() {
    PlaybackConfigPage::OnReset();
    ShowDisableContinuous();
}

}  // namespace plyvane
