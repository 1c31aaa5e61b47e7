#include "audio_playback_page.h"

#include <cstdint>

#include "resource_ids.h"

namespace plyvane {

namespace {
constexpr ChoiceButton kChannels[] = {{IDC_STEREO, 2}, {IDC_MONO, 1}};
constexpr ChoiceButton kBits[] = {{IDC_16BIT, 16}, {IDC_8BIT, 8}};
constexpr ChoiceButton kMethods[] = {{IDC_METHOD_TIMER, kMethodTimer},
                               {IDC_METHOD_THREAD, kMethodThread},
                               {IDC_METHOD_DEVICE, kMethodDevice}};
}  // namespace

CAudioPlayback::CAudioPlayback(SharedPlaybackConfig& shared, WaveDeviceCatalog& catalog,
                               CommandSink post)
    : PlaybackConfigPage(IDD_PAGE_AUDIO_DEVICE, "Audio Device", shared, std::move(post)),
      catalog_(catalog) {}

BOOL CAudioPlayback::OnInitDialog() {
    HWND list = Item(IDC_DEVICE_LIST);
    ::SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kWaveMapperName));
    // Every device in id order, so that entry - 1 is the device id.
    unsigned count = catalog_.DeviceCount();
    for (unsigned id = 0; id < count; ++id) {
        WaveDeviceCaps caps;
        const char* name =
            catalog_.DeviceCaps(static_cast<int>(id), caps) ? caps.productName : "Unknown device";
        ::SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    }
    ShowRecord();
    return TRUE;
}

void CAudioPlayback::ShowRecord() {
    const OutputSettings& values = Record().Values();
    const PlaybackAvailability& flags = Record().Availability();
    for (const ChoiceButton& choice : kChannels) {
        bool available = choice.value == 2 ? flags.StereoAllowed != 0 : flags.MonoAllowed != 0;
        ShowChoice(choice.control, values.Channels == choice.value, available);
    }
    for (const ChoiceButton& choice : kBits) {
        bool available =
            choice.value == 16 ? flags.SixteenBitAllowed != 0 : flags.EightBitAllowed != 0;
        ShowChoice(choice.control, values.BitsPerSample == choice.value, available);
    }
    for (const ChoiceButton& choice : kMethods) {
        ShowChoice(choice.control, values.PlaybackMethode == choice.value,
                   Record().MethodAllowed(choice.value));
    }
    // The wave mapper (-1) is entry 0; an unknown device selects nothing.
    int64_t entry = static_cast<int64_t>(values.WaveOutDevice) + 1;
    LRESULT entries = ::SendDlgItemMessageA(Handle(), IDC_DEVICE_LIST, CB_GETCOUNT, 0, 0);
    ::SendDlgItemMessageA(
        Handle(), IDC_DEVICE_LIST, CB_SETCURSEL,
        entry >= 0 && entry < entries ? static_cast<WPARAM>(entry) : static_cast<WPARAM>(-1), 0);
}

void CAudioPlayback::OnCommand(int id, int code, HWND control) {
    (void)control;
    if (id == IDC_DEVICE_LIST) {
        if (code != CBN_SELCHANGE) return;
        LRESULT entry = ::SendDlgItemMessageA(Handle(), IDC_DEVICE_LIST, CB_GETCURSEL, 0, 0);
        if (entry == CB_ERR) return;
        AfterEdit(Record().SetWaveOutDevice(static_cast<int32_t>(entry) - 1));
        return;
    }
    if (code != BN_CLICKED) return;
    for (const ChoiceButton& choice : kChannels) {
        if (choice.control == id) return AfterEdit(Record().SetChannels(choice.value));
    }
    for (const ChoiceButton& choice : kBits) {
        if (choice.control == id) return AfterEdit(Record().SetBitsPerSample(choice.value));
    }
    for (const ChoiceButton& choice : kMethods) {
        if (choice.control == id) return AfterEdit(Record().SetPlaybackMethode(choice.value));
    }
}

}  // namespace plyvane
