// The sheet "Stream file properties" as the user meets it, under Wine: opened
// on a thread of its own, probing through the program's engine, driven with
// the messages its controls send, and read back from its windows. Screenshots
// of the pages go to test-results/gui/.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "platform_ports.h"
#include "id3_test_support.h"
#include "recording_message_box.h"
#include "resource_ids.h"
#include "sheet_driver.h"
#include "stream_file_props.h"
#include "ui_thread.h"
#include "window_driver.h"

namespace plyvane::testing {
namespace {

const std::string kGuiDir = PLYVANE_GUI_DIR;
// A short folder on the prefix's drive C:, so the help's picture shows a
// plain file name.
const std::string kStreams = "C:\\Music";
const std::string kMinute = kStreams + "\\minute.mp2";
constexpr int kId3 = 0, kProperties = 1, kStatistics = 2;

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// The open sheet, driven from the test's thread, with what its pages need
// beyond the settings' sheet: read-only fields, text limits and the spin.
class StreamSheet : public Sheet {
public:
    using Sheet::Sheet;

    std::vector<std::string> Texts(const std::vector<int>& ids) const {
        std::vector<std::string> texts;
        for (int id : ids) texts.push_back(Text(id));
        return texts;
    }
    bool Enabled(int id) const { return ::IsWindowEnabled(Item(id)) != FALSE; }
    bool ReadOnly(int id) const { return (::GetWindowLongA(Item(id), GWL_STYLE) & ES_READONLY) != 0; }
    int Limit(int id) const { return static_cast<int>(Send(Item(id), EM_GETLIMITTEXT, 0, 0)); }

    int SpinPosition(int id) const { return static_cast<int>(Send(Item(id), UDM_GETPOS32, 0, 0)); }
    void SpinRange(int id, int& low, int& high) const {
        Send(Item(id), UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low), reinterpret_cast<LPARAM>(&high));
    }
    std::vector<UDACCEL> Acceleration(int id) const {
        std::vector<UDACCEL> steps(8);
        LRESULT count = Send(Item(id), UDM_GETACCEL, steps.size(), reinterpret_cast<LPARAM>(steps.data()));
        steps.resize(static_cast<std::size_t>(count));
        return steps;
    }
    // The arrow keys in the spin's field, as the user types them.
    void ArrowKey(int field, WORD key, int times) {
        for (int i = 0; i < times; ++i) {
            Send(Item(field), WM_KEYDOWN, key, 1);
            Send(Item(field), WM_KEYUP, key, 0xC0000001);
        }
    }
    // The mouse held on the spin's upper or lower arrow for a while.
    void HoldArrow(int spin, bool up, DWORD milliseconds) {
        RECT area{};
        ::GetClientRect(Item(spin), &area);
        LPARAM at = MAKELPARAM(area.right / 2, up ? area.bottom / 4 : area.bottom * 3 / 4);
        ::PostMessageA(Item(spin), WM_LBUTTONDOWN, MK_LBUTTON, at);
        ::Sleep(milliseconds);
        ::PostMessageA(Item(spin), WM_LBUTTONUP, 0, at);
        ::Sleep(100);
    }

    void Screenshot(const char* name) { Sheet::Screenshot(kGuiDir + "\\" + name); }
};

const std::vector<int> kTagFields = {IDC_ID3_TITLE, IDC_ID3_ARTIST, IDC_ID3_ALBUM, IDC_ID3_YEAR, IDC_ID3_COMMENT};
const std::vector<int> kStreamFields = {IDC_STREAM_TYPE,    IDC_STREAM_FREQUENCY,  IDC_STREAM_CHANNEL_MODE,
                                        IDC_STREAM_BITRATE, IDC_STREAM_PACK_RATIO, IDC_STREAM_DESCRIPTION};
const std::vector<std::string> kNoTag(5, "---");
const std::vector<std::string> kNoStream(6, "Not available!");

class StreamFilePropsWindow : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        for (size_t at = kStreams.find('\\', 3); at != std::string::npos; at = kStreams.find('\\', at + 1))
            ::CreateDirectoryA(kStreams.substr(0, at).c_str(), nullptr);
        ::CreateDirectoryA(kStreams.c_str(), nullptr);
        // A minute of Layer II: a two-second stream thirty times over, with
        // its line in the folder's description file.
        const std::string piece =
            ReadBytes(std::string(PLYVANE_SOURCE_DIR) + "/tests/data/layer2/mpeg1_48k_stereo_192k.mp2");
        std::string minute;
        for (int i = 0; i < 30; ++i) minute += piece;
        std::ofstream(kMinute, std::ios::binary) << minute;
        std::ofstream(kStreams + "\\descript.ion", std::ios::binary) << "minute.mp2 A fine test tone\n";
    }

    void SetUp() override {
        char display[256];
        if (::GetEnvironmentVariableA("DISPLAY", display, sizeof display) == 0)
            GTEST_SKIP() << "no X display: the window tests need Xvfb";
        DeleteSettings();
    }
    void TearDown() override { DeleteSettings(); }

    // Opens the sheet on the entry over the UI thread's owner window: to
    // show it, or to edit it as the playlist editor does.
    StreamSheet Open(const std::string& entry, bool edit = false) {
        entry_ = entry;
        ui_ = std::make_unique<UiThread>();
        ui_->Start([this, edit](HWND owner) -> INT_PTR {
            if (edit) return EditEntryProperties(owner, entry_) ? IDOK : IDCANCEL;
            StreamProbe probe(TheAudioEngine(), MakeSheetAddressSource);
            ShowStreamFileProps(owner, entry_, probe);
            return IDOK;
        });
        HWND window = ui_->WaitForDialog(kStreamPropertiesCaption);
        EXPECT_NE(window, nullptr);
        return StreamSheet(window);
    }
    // Ends the sheet and waits for its thread; the result.
    INT_PTR Close(StreamSheet& sheet, bool ok) { return CloseSheet(*ui_, sheet, ok); }

    std::string entry_;
    std::unique_ptr<UiThread> ui_;
};

TEST_F(StreamFilePropsWindow, ATaggedLayerThreeFile) {
    const std::string file = TaggedFile("lame_v1.mp3");
    StreamSheet sheet = Open(file);
    EXPECT_EQ(sheet.Tabs(), (std::vector<std::string>{"ID3 Tag", "Properties", "MPEG statistics"}));

    sheet.Show(kId3);
    EXPECT_EQ(sheet.Texts(kTagFields),
              (std::vector<std::string>{"Five", "Lame Artist", "Lame Album", "1999", "v1 comment"}));
    for (int id : kTagFields) EXPECT_TRUE(sheet.ReadOnly(id)) << id;
    EXPECT_EQ(sheet.Limit(IDC_ID3_TITLE), 30);
    EXPECT_EQ(sheet.Limit(IDC_ID3_YEAR), 4);
    sheet.Screenshot("stream_properties_1_id3_tag.png");

    sheet.Show(kProperties);
    EXPECT_EQ(sheet.Text(IDC_ENTRY_FILE_NAME), file);
    EXPECT_EQ(sheet.Text(IDC_ENTRY_VOLUME), "75");  // "DefaultVolume" is not set
    EXPECT_EQ(sheet.Text(IDC_FILE_DURATION), "0:00");

    sheet.Show(kStatistics);
    EXPECT_EQ(sheet.Texts(kStreamFields), (std::vector<std::string>{"MPEG 2 Audio Layer III", "24.0kHz", "Stereo",
                                                                    "64kBit/sec", "1:12.00", "---"}));
    EXPECT_EQ(Close(sheet, true), IDOK);
}

TEST_F(StreamFilePropsWindow, AFileWithOnlyAnId3v2Tag) {
    StreamSheet sheet = Open(TaggedFile("lame_v23.mp3"));
    sheet.Show(kId3);
    EXPECT_EQ(sheet.Texts(kTagFields), (std::vector<std::string>{"Lame v2 title", "Lame v2 artist", "Lame v2 album",
                                                                 "2004", "Lame v2 comment"}));
    Close(sheet, false);
}

TEST_F(StreamFilePropsWindow, ALayerTwoFileOfAList) {
    WriteNumber(kConfigurationKey, "DefaultVolume", 40);
    StreamSheet sheet = Open(kMinute + ";Tone;80;30000");

    sheet.Show(kId3);
    EXPECT_EQ(sheet.Texts(kTagFields), kNoTag);

    sheet.Show(kProperties);
    EXPECT_EQ(sheet.Text(IDC_ENTRY_FILE_NAME), kMinute);
    EXPECT_EQ(sheet.Text(IDC_ENTRY_VOLUME), "80");
    EXPECT_EQ(sheet.Text(IDC_FILE_DURATION), "1:00");
    EXPECT_EQ(sheet.Text(IDC_PLAYBACK_DURATION), "0:30");
    EXPECT_TRUE(sheet.ReadOnly(IDC_ENTRY_VOLUME));
    EXPECT_TRUE(sheet.ReadOnly(IDC_PLAYBACK_DURATION));
    int low = 0, high = 0;
    sheet.SpinRange(IDC_ENTRY_VOLUME_SPIN, low, high);
    EXPECT_EQ(low, 1);
    EXPECT_EQ(high, 100);
    sheet.SpinRange(IDC_PLAYBACK_SPIN, low, high);
    EXPECT_EQ(low, 5);
    EXPECT_EQ(high, 60);
    EXPECT_EQ(sheet.SpinPosition(IDC_PLAYBACK_SPIN), 30);
    EXPECT_TRUE(sheet.Enabled(IDC_PLAYBACK_SPIN));
    sheet.Screenshot("stream_properties_2_properties.png");

    sheet.Show(kStatistics);
    EXPECT_EQ(sheet.Texts(kStreamFields), (std::vector<std::string>{"MPEG 1 Audio Layer II", "48.0kHz", "Stereo",
                                                                    "192kBit/sec", "1: 8.00", "A fine test tone"}));
    sheet.Screenshot("stream_properties_3_mpeg_statistics.png");
    EXPECT_EQ(Close(sheet, true), IDOK);
    // Shown from the player, the entry is the player's: nothing changes.
    EXPECT_EQ(entry_, kMinute + ";Tone;80;30000");
}

TEST_F(StreamFilePropsWindow, AMissingFileShowsOneErrorAndNothingElse) {
    RecordingMessageBox boxes;
    ScopedMessageBox installed(boxes);
    const std::string missing = kStreams + "\\gone.mp2";
    StreamSheet sheet = Open(missing + ";Gone;50;20000");
    sheet.Show(kId3);
    EXPECT_EQ(sheet.Texts(kTagFields), kNoTag);
    sheet.Show(kProperties);
    EXPECT_EQ(sheet.Text(IDC_ENTRY_VOLUME), "50");
    EXPECT_EQ(sheet.Text(IDC_FILE_DURATION), "Not available!");
    EXPECT_EQ(sheet.Text(IDC_PLAYBACK_DURATION), "Not available!");
    EXPECT_FALSE(sheet.Enabled(IDC_PLAYBACK_DURATION));
    EXPECT_FALSE(sheet.Enabled(IDC_PLAYBACK_SPIN));
    EXPECT_TRUE(sheet.Enabled(IDC_ENTRY_VOLUME_SPIN));
    sheet.Show(kStatistics);
    EXPECT_EQ(sheet.Texts(kStreamFields), kNoStream);
    EXPECT_EQ(Close(sheet, false), IDOK);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Messages()[0].text, "File " + missing + " does not exist!");
}

TEST_F(StreamFilePropsWindow, AnAddressIsNotReadWhenTheSettingsSaySo) {
    WriteNumber(kConfigurationKey, "SkipHTTPFileScan", 1);
    RecordingMessageBox boxes;
    ScopedMessageBox installed(boxes);
    StreamSheet sheet = Open("http://127.0.0.1:9/stream.mp2;Radio");
    sheet.Show(kId3);
    EXPECT_EQ(sheet.Texts(kTagFields), kNoTag);
    sheet.Show(kProperties);
    EXPECT_EQ(sheet.Text(IDC_FILE_DURATION), "Not available!");
    EXPECT_EQ(sheet.Text(IDC_PLAYBACK_DURATION), "Not available!");
    sheet.Show(kStatistics);
    EXPECT_EQ(sheet.Texts(kStreamFields), kNoStream);
    Close(sheet, false);
    EXPECT_EQ(boxes.Count(), 0u);  // no connection was tried
}

TEST_F(StreamFilePropsWindow, AnAddressIsReadThroughTheSheetsOwnConnection) {
    RecordingMessageBox boxes;
    ScopedMessageBox installed(boxes);
    const std::string address = "http://127.0.0.1:9/nothing-listens-here.mp2";
    StreamSheet sheet = Open(address + ";Radio");
    sheet.Show(kProperties);
    EXPECT_EQ(sheet.Text(IDC_FILE_DURATION), "Not available!");
    sheet.Show(kStatistics);
    EXPECT_EQ(sheet.Texts(kStreamFields), kNoStream);
    Close(sheet, false);
    // The connection's own error, then the engine's, each once.
    const auto shown = boxes.Messages();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_NE(shown[0].text.find("connect"), std::string::npos) << shown[0].text;
    EXPECT_EQ(shown[1].text, "File " + address + " does not exist!");
}

TEST_F(StreamFilePropsWindow, SpinsMoveWithTheProgramsAccelerationAndTheEditorKeepsTheirValues) {
    StreamSheet sheet = Open(kMinute + ";Tone;0;0", true);
    sheet.Show(kProperties);
    const std::vector<std::pair<UINT, UINT>> expected = {{1, 1}, {4, 2}, {7, 5}};
    for (int spin : {IDC_ENTRY_VOLUME_SPIN, IDC_PLAYBACK_SPIN}) {
        std::vector<std::pair<UINT, UINT>> steps;
        for (const UDACCEL& step : sheet.Acceleration(spin)) steps.emplace_back(step.nSec, step.nInc);
        EXPECT_EQ(steps, expected) << spin;
    }
    // Without a duration of its own the entry plays the whole file: the
    // spin stands at its upper end.
    EXPECT_EQ(sheet.Text(IDC_PLAYBACK_DURATION), "1:00");
    EXPECT_EQ(sheet.SpinPosition(IDC_PLAYBACK_SPIN), 60);
    EXPECT_EQ(sheet.Text(IDC_ENTRY_VOLUME), "75");

    sheet.ArrowKey(IDC_ENTRY_VOLUME, VK_DOWN, 5);
    EXPECT_EQ(sheet.Text(IDC_ENTRY_VOLUME), "70");
    sheet.ArrowKey(IDC_PLAYBACK_DURATION, VK_DOWN, 15);
    EXPECT_EQ(sheet.Text(IDC_PLAYBACK_DURATION), "0:45");
    // Held down, the arrow repeats.
    sheet.HoldArrow(IDC_PLAYBACK_SPIN, false, 1500);
    const int held = sheet.SpinPosition(IDC_PLAYBACK_SPIN);
    EXPECT_LT(held, 44);
    EXPECT_GE(held, 5);
    EXPECT_EQ(sheet.Text(IDC_PLAYBACK_DURATION), MinutesAndSeconds(held * 1000));
    sheet.ArrowKey(IDC_PLAYBACK_DURATION, VK_DOWN, 100);
    EXPECT_EQ(sheet.Text(IDC_PLAYBACK_DURATION), "0:05");  // the shortest it takes
    sheet.ArrowKey(IDC_PLAYBACK_DURATION, VK_UP, 10);
    EXPECT_EQ(sheet.Text(IDC_PLAYBACK_DURATION), "0:15");

    EXPECT_EQ(Close(sheet, true), IDOK);
    EXPECT_EQ(entry_, kMinute + ";Tone;70;15000");
}

TEST_F(StreamFilePropsWindow, TheEditorsEntryStaysAsItWasOnCancel) {
    const std::string entry = kMinute + ";Tone;90;20000";
    StreamSheet sheet = Open(entry, true);
    sheet.Show(kProperties);
    sheet.ArrowKey(IDC_ENTRY_VOLUME, VK_UP, 3);
    sheet.ArrowKey(IDC_PLAYBACK_DURATION, VK_UP, 3);
    EXPECT_EQ(sheet.Text(IDC_ENTRY_VOLUME), "93");
    EXPECT_EQ(Close(sheet, false), IDCANCEL);
    EXPECT_EQ(entry_, entry);

    // OK without moving anything leaves the record as it was, too.
    StreamSheet again = Open(entry, true);
    again.Show(kProperties);
    EXPECT_EQ(Close(again, true), IDOK);
    EXPECT_EQ(entry_, entry);
}

TEST_F(StreamFilePropsWindow, APresetBeyondTheSpinsRangeStaysUnlessTheSpinMoves) {
    const std::string loud = kMinute + ";Loud;150;0";
    StreamSheet sheet = Open(loud, true);
    sheet.Show(kProperties);
    EXPECT_EQ(sheet.Text(IDC_ENTRY_VOLUME), "150");
    EXPECT_EQ(Close(sheet, true), IDOK);
    EXPECT_EQ(entry_, loud);

    StreamSheet moved = Open(loud, true);
    moved.Show(kProperties);
    moved.ArrowKey(IDC_ENTRY_VOLUME, VK_DOWN, 1);
    EXPECT_EQ(moved.Text(IDC_ENTRY_VOLUME), "99");
    EXPECT_EQ(Close(moved, true), IDOK);
    EXPECT_EQ(entry_, kMinute + ";Loud;99;0");
}

}  // namespace
}  // namespace plyvane::testing
