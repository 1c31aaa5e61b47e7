// The property sheet "Plyvane Properties" as the user meets it, under Wine:
// opened on a thread of its own over an owner window that records the posted
// commands, driven with the messages the controls send, and checked against
// the real registry of the test prefix. Screenshots of every page go to
// test-results/gui/.
#include <windows.h>
#include <commctrl.h>
#include <mmsystem.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "fake_wave_device_catalog.h"
#include "password_setting.h"
#include "property_playback.h"
#include "resource_ids.h"
#include "sheet_driver.h"
#include "ui_thread.h"
#include "window_driver.h"
#include "winmm_device_catalog.h"

namespace plyvane::testing {
namespace {

const std::string kGuiDir = PLYVANE_GUI_DIR;

class PropertySheetWindow : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        for (size_t at = kGuiDir.find('\\', 3); at != std::string::npos; at = kGuiDir.find('\\', at + 1))
            ::CreateDirectoryA(kGuiDir.substr(0, at).c_str(), nullptr);
        ::CreateDirectoryA(kGuiDir.c_str(), nullptr);
    }

    void SetUp() override {
        char display[256];
        if (::GetEnvironmentVariableA("DISPLAY", display, sizeof display) == 0)
            GTEST_SKIP() << "no X display: the window tests need Xvfb";
        DeleteSettings();
        catalog_.AddDevice(0xFFF, "Speakers");
        catalog_.AddDevice(0x0FF, "Telephone (22 kHz)");
        catalog_.AddDevice(0xFFF, "Broken");
        catalog_.FailQueries(2);
        catalog_.SetPlatform(PlatformKind::kWindowsNT);
    }

    void TearDown() override { DeleteSettings(); }

    // Opens the sheet over the UI thread's owner window and waits for it.
    Sheet Open(WaveDeviceCatalog& catalog) {
        ui_ = std::make_unique<UiThread>();
        ui_->Start([&catalog](HWND owner) {
            CPropertyPlayback sheet(owner, catalog);
            return sheet.Show();
        });
        HWND window = ui_->WaitForDialog(kPropertySheetCaption);
        EXPECT_NE(window, nullptr);
        return Sheet(window);
    }
    Sheet Open() { return Open(catalog_); }

    // Ends the sheet and waits for its thread; the sheet's result.
    INT_PTR Close(Sheet& sheet, bool ok) { return CloseSheet(*ui_, sheet, ok); }

    static bool Number(const char* name, DWORD& value) { return ReadNumber(kConfigurationKey, name, value); }
    static DWORD NumberOr(const char* name, DWORD fallback) {
        DWORD value = fallback;
        Number(name, value);
        return value;
    }

    FakeWaveDeviceCatalog catalog_;
    std::unique_ptr<UiThread> ui_;
};

TEST_F(PropertySheetWindow, EveryPageShowsTheStoredSettings) {
    WriteNumber(kConfigurationKey, "TaskBar", 0);
    WriteNumber(kConfigurationKey, "DialogState", 1);
    WriteNumber(kConfigurationKey, "ProxyPort", 3128);
    WriteText(kConfigurationKey, "Proxy", "proxy.example");
    WriteText(kConfigurationKey, "Password", "plain old");
    Sheet sheet = Open();
    EXPECT_EQ(sheet.Tabs(), (std::vector<std::string>{"Audio Device", "Playback Mode", "Buffers",
                                                       "Controls", "Internet"}));

    sheet.Show(kAudioDevice);
    EXPECT_EQ(sheet.Entries(IDC_DEVICE_LIST),
              (std::vector<std::string>{"Windows WAVE Mapper", "Speakers", "Telephone (22 kHz)",
                                        "Unknown device"}));
    EXPECT_EQ(sheet.Chosen(IDC_DEVICE_LIST), 0);
    EXPECT_TRUE(sheet.Checked(IDC_STEREO));
    EXPECT_FALSE(sheet.Checked(IDC_MONO));
    EXPECT_TRUE(sheet.Checked(IDC_16BIT));
    EXPECT_TRUE(sheet.Checked(IDC_METHOD_TIMER));
    // Windows NT has no device-driven refresh.
    EXPECT_TRUE(sheet.Pushed(IDC_METHOD_DEVICE));
    EXPECT_FALSE(sheet.Pushed(IDC_METHOD_THREAD));
    sheet.Screenshot(kGuiDir + "\\properties_1_audio_device.png");

    sheet.Show(kPlaybackMode);
    EXPECT_TRUE(sheet.Checked(IDC_RATIO_1_1));
    EXPECT_TRUE(sheet.Checked(IDC_QUALITY_BETTER));
    EXPECT_FALSE(sheet.Pushed(IDC_RATIO_1_1));
    sheet.Screenshot(kGuiDir + "\\properties_2_playback_mode.png");

    sheet.Show(kBuffers);
    EXPECT_EQ(sheet.SliderPosition(), 7);  // 4 blocks of 16 frames
    EXPECT_EQ(sheet.Text(IDC_BUFFER_TIME), "1.75 seconds");
    EXPECT_FALSE(sheet.Checked(IDC_DISABLE_CONTINUOUS));
    sheet.Screenshot(kGuiDir + "\\properties_3_buffers.png");

    sheet.Show(kControls);
    EXPECT_FALSE(sheet.Checked(IDC_TASKBAR_CONTROLS));
    EXPECT_TRUE(sheet.Checked(IDC_SCROLL_CAPTION));
    EXPECT_EQ(sheet.Entries(IDC_DIALOG_SIZE).size(), 4u);
    EXPECT_EQ(sheet.Entries(IDC_DIALOG_SIZE)[3], "Hide dialog (no window, no taskbar entry)");
    EXPECT_EQ(sheet.Chosen(IDC_DIALOG_SIZE), 1);
    sheet.Screenshot(kGuiDir + "\\properties_4_controls.png");

    sheet.Show(kInternet);
    EXPECT_EQ(sheet.Text(IDC_PROXY), "proxy.example");
    EXPECT_EQ(sheet.Text(IDC_PROXY_PORT), "3128");
    EXPECT_EQ(sheet.Text(IDC_PASSWORD), "plain old");
    EXPECT_NE(::GetWindowLongA(sheet.Item(IDC_PASSWORD), GWL_STYLE) & ES_PASSWORD, 0);
    EXPECT_TRUE(sheet.Checked(IDC_DOWNLOAD_ONLY));
    EXPECT_TRUE(sheet.Checked(IDC_SKIP_FILE_SCAN));
    sheet.Screenshot(kGuiDir + "\\properties_5_internet.png");

    EXPECT_FALSE(sheet.ApplyEnabled());
    EXPECT_EQ(Close(sheet, false), IDCANCEL);
    EXPECT_TRUE(ui_->Commands().empty());
}

TEST_F(PropertySheetWindow, OneApplyStoresTheRecordAndRestartsTheOutputOnce) {
    Sheet sheet = Open();
    sheet.Show(kAudioDevice);
    sheet.Click(IDC_MONO);
    EXPECT_TRUE(sheet.Checked(IDC_MONO));
    EXPECT_TRUE(sheet.ApplyEnabled());
    sheet.Show(kPlaybackMode);
    sheet.Click(IDC_RATIO_1_2);
    sheet.Click(IDC_QUALITY_BEST);
    sheet.Show(kBuffers);
    sheet.Slide(3);  // 2 blocks of 16 frames: 0.75 s
    EXPECT_EQ(sheet.SliderPosition(), 3);
    EXPECT_EQ(sheet.Text(IDC_BUFFER_TIME), "0.75 seconds");
    DWORD value = 0;
    EXPECT_FALSE(Number("Channels", value));  // nothing stored while editing

    sheet.Apply();
    EXPECT_EQ(NumberOr("Channels", 0), 1u);
    EXPECT_EQ(NumberOr("FrequencyDivisor", 0), 2u);
    EXPECT_EQ(NumberOr("Quality", 0), 1u);
    EXPECT_EQ(NumberOr("Buffers", 0), 2u);
    EXPECT_EQ(NumberOr("WaveOutDevice", 0), 0xFFFFFFFFu);
    EXPECT_FALSE(sheet.ApplyEnabled());
    ASSERT_TRUE(WaitUntil([&] { return !ui_->Commands().empty(); }));
    ::Sleep(100);
    EXPECT_EQ(ui_->Commands(), (std::vector<PostedCommand>{{ID_RESTART_OUTPUT, 0}}));

    // Reference quality (0) is a choice of its own, stored as 0.
    ui_->ClearCommands();
    sheet.Show(kPlaybackMode);
    sheet.Click(IDC_QUALITY_REFERENCE);
    EXPECT_TRUE(sheet.Checked(IDC_QUALITY_REFERENCE));
    EXPECT_FALSE(sheet.Checked(IDC_QUALITY_BEST));
    EXPECT_FALSE(sheet.Pushed(IDC_QUALITY_REFERENCE));
    sheet.Apply();
    EXPECT_EQ(NumberOr("Quality", 9), 0u);
    ASSERT_TRUE(WaitUntil([&] { return !ui_->Commands().empty(); }));

    // OK without a further change stores and posts nothing more.
    ::Sleep(100);
    ui_->ClearCommands();
    EXPECT_EQ(Close(sheet, true), IDOK);
    EXPECT_TRUE(ui_->Commands().empty());
}

TEST_F(PropertySheetWindow, DeviceChoicesAndUnavailableFormats) {
    Sheet sheet = Open();
    sheet.Show(kAudioDevice);
    // The 22 kHz device: 1:1 is ruled out and the divisor becomes 2, as the
    // Playback Mode page shows at once.
    sheet.Choose(IDC_DEVICE_LIST, 2);
    sheet.Show(kPlaybackMode);
    EXPECT_TRUE(sheet.Pushed(IDC_RATIO_1_1));
    EXPECT_TRUE(sheet.Checked(IDC_RATIO_1_2));
    sheet.Click(IDC_RATIO_1_1);  // unavailable: nothing changes
    EXPECT_FALSE(sheet.Checked(IDC_RATIO_1_1));
    EXPECT_TRUE(sheet.Checked(IDC_RATIO_1_2));

    // A device whose capabilities can't be read: every format choice pushed.
    sheet.Show(kAudioDevice);
    sheet.Choose(IDC_DEVICE_LIST, 3);
    for (int id : {IDC_STEREO, IDC_MONO, IDC_16BIT, IDC_8BIT}) EXPECT_TRUE(sheet.Pushed(id)) << id;
    // Back on a working device the width and channel choices stay ruled out
    // until their setters run: "8 Bit" leaves "16 Bit" checked.
    sheet.Choose(IDC_DEVICE_LIST, 1);
    sheet.Click(IDC_8BIT);
    EXPECT_TRUE(sheet.Checked(IDC_16BIT));
    EXPECT_FALSE(sheet.Checked(IDC_8BIT));
    sheet.Screenshot(kGuiDir + "\\properties_unavailable_choices.png");

    // The first real device is device 0; the wave mapper is -1.
    sheet.Apply();
    EXPECT_EQ(NumberOr("WaveOutDevice", 99), 0u);
    sheet.Choose(IDC_DEVICE_LIST, 0);
    sheet.Apply();
    EXPECT_EQ(NumberOr("WaveOutDevice", 99), 0xFFFFFFFFu);
    EXPECT_EQ(Close(sheet, false), IDCANCEL);  // after Apply: what was applied stays
    EXPECT_EQ(NumberOr("WaveOutDevice", 99), 0xFFFFFFFFu);
}

TEST_F(PropertySheetWindow, BufferSliderSnapsToTheTimesTheRingCanHave) {
    WriteNumber(kConfigurationKey, "FramesPerBuffer", 4);
    WriteNumber(kConfigurationKey, "Buffers", 8);
    Sheet sheet = Open();
    sheet.Show(kBuffers);
    EXPECT_EQ(sheet.SliderPosition(), 3);
    EXPECT_EQ(sheet.Text(IDC_BUFFER_TIME), "0.75 seconds");
    sheet.Slide(4);
    EXPECT_EQ(sheet.SliderPosition(), 4);
    EXPECT_EQ(sheet.Text(IDC_BUFFER_TIME), "1.00 seconds");
    sheet.Click(IDC_DISABLE_CONTINUOUS);
    EXPECT_EQ(Close(sheet, true), IDOK);
    EXPECT_EQ(NumberOr("Buffers", 0), 10u);
    EXPECT_EQ(NumberOr("DisableContinuous", 0), 1u);
}

TEST_F(PropertySheetWindow, ControlsPostTheirCommandsInOrder) {
    Sheet sheet = Open();
    sheet.Show(kControls);
    sheet.Apply();  // nothing changed: nothing written, nothing posted
    DWORD value = 0;
    EXPECT_FALSE(Number("TaskBar", value));
    sheet.Click(IDC_TASKBAR_CONTROLS);
    sheet.Choose(IDC_DIALOG_SIZE, 2);
    EXPECT_TRUE(sheet.ApplyEnabled());
    sheet.Apply();
    EXPECT_EQ(NumberOr("TaskBar", 9), 0u);
    EXPECT_EQ(NumberOr("ScrollCaption", 9), 1u);
    EXPECT_EQ(NumberOr("DialogState", 9), 2u);
    ASSERT_TRUE(WaitUntil([&] { return ui_->Commands().size() >= 3; }));
    EXPECT_EQ(ui_->Commands(), (std::vector<PostedCommand>{{ID_TASKBAR_CONTROLS_OFF, 0},
                                                           {ID_SCROLL_CAPTION_ON, 0},
                                                           {ID_SET_DIALOG_STATE, 2}}));
    EXPECT_EQ(Close(sheet, true), IDOK);
    EXPECT_EQ(ui_->Commands().size(), 3u);
}

TEST_F(PropertySheetWindow, InternetPageStoresOnlyWhenShownAndSealsThePassword) {
    Sheet unseen = Open();
    EXPECT_EQ(Close(unseen, true), IDOK);
    DWORD value = 0;
    EXPECT_FALSE(Number("SkipHTTPFileScan", value));  // never shown: not applied

    Sheet sheet = Open();
    sheet.Show(kInternet);
    sheet.Type(IDC_PROXY, "proxy.example");
    sheet.Type(IDC_PROXY_PORT, "8080");
    sheet.Type(IDC_USER, "anna");
    sheet.Type(IDC_PASSWORD, "open sesame");
    sheet.Click(IDC_DOWNLOAD_AND_SAVE);
    EXPECT_FALSE(sheet.Checked(IDC_DOWNLOAD_ONLY));
    EXPECT_EQ(Close(sheet, true), IDOK);
    std::string text;
    EXPECT_TRUE(ReadText(kConfigurationKey, "Proxy", text));
    EXPECT_EQ(text, "proxy.example");
    EXPECT_EQ(NumberOr("ProxyPort", 0), 8080u);
    EXPECT_EQ(NumberOr("PlayAndSave", 0), 1u);
    EXPECT_EQ(NumberOr("SkipHTTPFileScan", 0), 1u);
    ASSERT_TRUE(ReadText(kConfigurationKey, "Password", text));
    EXPECT_EQ(text.rfind(kProtectedPrefix, 0), 0u) << text;
    EXPECT_EQ(text.find("open sesame"), std::string::npos);
    EXPECT_EQ(ReadPasswordSetting(), "open sesame");

    // Shown again: the password is back in its hidden field; an emptied
    // port field stores 0.
    Sheet again = Open();
    again.Show(kInternet);
    EXPECT_EQ(again.Text(IDC_PASSWORD), "open sesame");
    again.Type(IDC_PROXY_PORT, "");
    again.Click(IDC_SKIP_FILE_SCAN);
    EXPECT_EQ(Close(again, true), IDOK);
    EXPECT_EQ(NumberOr("ProxyPort", 9), 0u);
    EXPECT_EQ(NumberOr("SkipHTTPFileScan", 9), 0u);
}

TEST_F(PropertySheetWindow, CancelAfterChangesStoresNothing) {
    Sheet sheet = Open();
    sheet.Show(kAudioDevice);
    sheet.Click(IDC_MONO);
    sheet.Show(kBuffers);
    sheet.Slide(12);
    sheet.Click(IDC_DISABLE_CONTINUOUS);
    sheet.Show(kControls);
    sheet.Click(IDC_SCROLL_CAPTION);
    sheet.Show(kInternet);
    sheet.Type(IDC_USER, "bob");
    EXPECT_EQ(Close(sheet, false), IDCANCEL);
    for (const char* name : {"Channels", "Buffers", "DisableContinuous", "ScrollCaption",
                             "SkipHTTPFileScan", "FrequencyDivisor"}) {
        DWORD value = 0;
        EXPECT_FALSE(Number(name, value)) << name;
    }
    std::string user;
    EXPECT_FALSE(ReadText(kConfigurationKey, "User", user));
    EXPECT_TRUE(ui_->Commands().empty());
}

TEST_F(PropertySheetWindow, ListsTheSystemsWaveDevices) {
    WinmmDeviceCatalog system;
    Sheet sheet = Open(system);
    sheet.Show(kAudioDevice);
    std::vector<std::string> entries = sheet.Entries(IDC_DEVICE_LIST);
    ASSERT_EQ(entries.size(), ::waveOutGetNumDevs() + 1);
    EXPECT_EQ(entries[0], "Windows WAVE Mapper");
    for (UINT id = 0; id + 1 < entries.size(); ++id) {
        WAVEOUTCAPSA caps{};
        ASSERT_EQ(::waveOutGetDevCapsA(id, &caps, sizeof caps), MMSYSERR_NOERROR);
        EXPECT_EQ(entries[id + 1], caps.szPname);
    }
    // The list opened, so the screenshot shows the devices.
    ::SendMessageTimeoutA(sheet.Item(IDC_DEVICE_LIST), CB_SHOWDROPDOWN, TRUE, 0, SMTO_NORMAL, 5000,
                          nullptr);
    sheet.Screenshot(kGuiDir + "\\properties_system_devices.png");
    ::SendMessageTimeoutA(sheet.Item(IDC_DEVICE_LIST), CB_SHOWDROPDOWN, FALSE, 0, SMTO_NORMAL, 5000,
                          nullptr);
    EXPECT_EQ(Close(sheet, false), IDCANCEL);
}

}  // namespace
}  // namespace plyvane::testing
