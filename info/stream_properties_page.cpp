#include "stream_properties_page.h"

#include <commctrl.h>

#include "resource_ids.h"
#include "up_down.h"

namespace plyvane {

namespace {
constexpr int kLowestVolume = 1;
constexpr int kHighestVolume = 100;
}  // namespace

CStreamProperties::CStreamProperties(std::string& entry, StreamProbe& probe, bool writeBack)
    : PropertyPage(IDD_STREAM_PROPERTIES, "Properties"), entry_(entry), probe_(probe), writeBack_(writeBack) {}

BOOL CStreamProperties::OnInitDialog() {
    // Values change only through the spins.
    ::SendDlgItemMessageA(Handle(), IDC_ENTRY_VOLUME, EM_SETREADONLY, TRUE, 0);
    ::SendDlgItemMessageA(Handle(), IDC_PLAYBACK_DURATION, EM_SETREADONLY, TRUE, 0);
    ShowEntry();
    return TRUE;
}

void CStreamProperties::ShowEntry() {
    const int32_t fileMs = StreamProbe::LengthMs(probe_.Result(SheetHandle(), entry_));
    shown_ = DescribePropertiesPage(entry_, fileMs);
    volumeMoved_ = false;
    ::SetDlgItemTextA(Handle(), IDC_ENTRY_FILE_NAME, shown_.fileName.c_str());
    SetUpSpin(Item(IDC_ENTRY_VOLUME_SPIN), Item(IDC_ENTRY_VOLUME), kLowestVolume, kHighestVolume, shown_.volume);
    // The preset as it is stands in the field until the spin moves (the
    // spin itself holds only numbers within its range).
    ::SetDlgItemInt(Handle(), IDC_ENTRY_VOLUME, static_cast<UINT>(shown_.volume), TRUE);
    ::SetDlgItemTextA(Handle(), IDC_FILE_DURATION, shown_.fileText.c_str());
    SetUpSpin(Item(IDC_PLAYBACK_SPIN), Item(IDC_PLAYBACK_DURATION), shown_.spinLowSeconds, shown_.spinHighSeconds,
              shown_.spinSeconds);
    ::SetDlgItemTextA(Handle(), IDC_PLAYBACK_DURATION, shown_.playbackText.c_str());
    ::EnableWindow(Item(IDC_PLAYBACK_DURATION), shown_.playbackEditable ? TRUE : FALSE);
    ::EnableWindow(Item(IDC_PLAYBACK_SPIN), shown_.playbackEditable ? TRUE : FALSE);
}

void CStreamProperties::ShowPlaybackDuration() {
    const int seconds = SpinPosition(Item(IDC_PLAYBACK_SPIN));
    ::SetDlgItemTextA(Handle(), IDC_PLAYBACK_DURATION, MinutesAndSeconds(seconds * 1000).c_str());
}

bool CStreamProperties::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    // The duration spin has no number in its field, so the page writes the
    // minutes and seconds each time it moves.
    if (message == WM_VSCROLL && reinterpret_cast<HWND>(lParam) == Item(IDC_PLAYBACK_SPIN)) {
        ShowPlaybackDuration();
        result = 0;
        return true;
    }
    if (message == WM_VSCROLL && reinterpret_cast<HWND>(lParam) == Item(IDC_ENTRY_VOLUME_SPIN)) {
        volumeMoved_ = true;
        result = 0;
        return true;
    }
    return PropertyPage::OnMessage(message, wParam, lParam, result);
}

bool CStreamProperties::OnApply() {
    if (writeBack_) {
        // A preset beyond the spin's range stays as it is unless the spin moved.
        const int volume = volumeMoved_ ? SpinPosition(Item(IDC_ENTRY_VOLUME_SPIN)) : shown_.volume;
        entry_ = EntryWithEditedValues(entry_, shown_, volume, SpinPosition(Item(IDC_PLAYBACK_SPIN)));
    }
    return true;
}

LRESULT CStreamProperties::OnQuerySiblings(WPARAM code, PropertyPage* sender) {
    (void)code;
    if (sender != this) ShowEntry();
    return 0;
}

}  // namespace plyvane
