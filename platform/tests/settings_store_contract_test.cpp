// What every settings store must do, the same way: the fake and the settings
// file natively, the fake and the registry under Windows. The program relies
// on these rules whichever store runs.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "recording_message_box.h"
#include "store_fixtures.h"

namespace plyvane {
namespace {

using testing::StoreUnderTest;

struct StoreKind {
    const char* name;
    std::function<std::unique_ptr<StoreUnderTest>()> make;
};

void PrintTo(const StoreKind& kind, std::ostream* out) { *out << kind.name; }

class SettingsStoreContract : public ::testing::TestWithParam<StoreKind> {
protected:
    void SetUp() override { fixture_ = GetParam().make(); }
    SettingsStore& Store() { return fixture_->Store(); }
    std::string Key(const std::string& below = "Values") { return fixture_->Key(below); }

    std::unique_ptr<StoreUnderTest> fixture_;
};

TEST_P(SettingsStoreContract, AbsentValuesLeaveTheDestinationAlone) {
    std::string text = "caller default";
    uint32_t number = 75;
    EXPECT_FALSE(Store().ReadString(Key().c_str(), "Proxy", text));
    EXPECT_FALSE(Store().ReadDword(Key().c_str(), "DefaultVolume", number));
    EXPECT_EQ(text, "caller default");
    EXPECT_EQ(number, 75u);

    // The key exists now, the value still does not.
    ASSERT_EQ(Store().WriteDword(Key().c_str(), "Other", 1), StoreWriteResult::kWritten);
    EXPECT_FALSE(Store().ReadString(Key().c_str(), "Proxy", text));
    EXPECT_FALSE(Store().ReadDword(Key().c_str(), "DefaultVolume", number));
    EXPECT_EQ(text, "caller default");
    EXPECT_EQ(number, 75u);
}

TEST_P(SettingsStoreContract, TextsAndNumbersComeBackAsWritten) {
    const std::string key = Key("Deep\\Path\\Created\\On\\Write");
    ASSERT_EQ(Store().WriteString(key.c_str(), "RecentFile", "C:\\Music\\a \"b\".mp3"),
              StoreWriteResult::kWritten);
    std::string text;
    ASSERT_TRUE(Store().ReadString(key.c_str(), "RecentFile", text));
    EXPECT_EQ(text, "C:\\Music\\a \"b\".mp3");

    for (uint32_t number : {0u, 1u, 65535u, 0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu}) {
        ASSERT_EQ(Store().WriteDword(key.c_str(), "Volume", number), StoreWriteResult::kWritten);
        uint32_t back = 12345;
        ASSERT_TRUE(Store().ReadDword(key.c_str(), "Volume", back));
        EXPECT_EQ(back, number);
    }

    // Overwriting replaces, also with the other type.
    ASSERT_EQ(Store().WriteString(key.c_str(), "RecentFile", ""), StoreWriteResult::kWritten);
    ASSERT_TRUE(Store().ReadString(key.c_str(), "RecentFile", text));
    EXPECT_EQ(text, "");
    ASSERT_EQ(Store().WriteDword(key.c_str(), "RecentFile", 7), StoreWriteResult::kWritten);
    EXPECT_FALSE(Store().ReadString(key.c_str(), "RecentFile", text));
}

TEST_P(SettingsStoreContract, AValueOfTheOtherTypeCountsAsAbsent) {
    ASSERT_EQ(Store().WriteString(Key().c_str(), "Buffers", "4"), StoreWriteResult::kWritten);
    ASSERT_EQ(Store().WriteDword(Key().c_str(), "User", 4), StoreWriteResult::kWritten);
    uint32_t number = 99;
    std::string text = "untouched";
    EXPECT_FALSE(Store().ReadDword(Key().c_str(), "Buffers", number));
    EXPECT_FALSE(Store().ReadString(Key().c_str(), "User", text));
    EXPECT_EQ(number, 99u);
    EXPECT_EQ(text, "untouched");
}

TEST_P(SettingsStoreContract, NamesAndKeysIgnoreCaseAndTheDefaultValueIsSeparate) {
    const std::string key = Key("Configuration");
    ASSERT_EQ(Store().WriteString(key.c_str(), "", "Configuration for Plyvane MPEG-audio player"),
              StoreWriteResult::kWritten);
    ASSERT_EQ(Store().WriteDword(key.c_str(), "PlaybackMethode", 3), StoreWriteResult::kWritten);

    std::string upperKey = key;
    for (char& c : upperKey) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    uint32_t method = 0;
    ASSERT_TRUE(Store().ReadDword(upperKey.c_str(), "playbackmethode", method));
    EXPECT_EQ(method, 3u);

    std::string text;
    ASSERT_TRUE(Store().ReadString(key.c_str(), nullptr, text));
    EXPECT_EQ(text, "Configuration for Plyvane MPEG-audio player");
    // A parent and a child key do not share values.
    EXPECT_FALSE(Store().ReadDword(Key("Configuration\\Below").c_str(), "PlaybackMethode", method));
    EXPECT_FALSE(Store().ReadDword(Key("").substr(0, Key("").size() - 1).c_str(),
                                   "PlaybackMethode", method));
}

TEST_P(SettingsStoreContract, TextsKeepEveryCharacter) {
    const std::string texts[] = {
        "back\\slash\\\\twice\\",
        "\"quoted\" = [section] ; comment @",
        "line one\nline two\r\n\ttabbed",
        "dword:00000001",
        "caf\xE9 \xFC\xDF \x01\x1F\x7F",
        std::string(1000, 'x'),  // the store keeps it; the program's read refuses it
    };
    int n = 0;
    for (const std::string& text : texts) {
        std::string name = "Text" + std::to_string(n++);
        ASSERT_EQ(Store().WriteString(Key().c_str(), name.c_str(), text.c_str()),
                  StoreWriteResult::kWritten);
        std::string back;
        ASSERT_TRUE(Store().ReadString(Key().c_str(), name.c_str(), back)) << name;
        EXPECT_EQ(back, text) << name;
    }
    // Odd value names too.
    ASSERT_EQ(Store().WriteDword(Key().c_str(), "Name \"with\" = and \\", 5),
              StoreWriteResult::kWritten);
    uint32_t number = 0;
    EXPECT_TRUE(Store().ReadDword(Key().c_str(), "Name \"with\" = and \\", number));
    EXPECT_EQ(number, 5u);
}

TEST_P(SettingsStoreContract, DeletingRemovesOnlyThatValue) {
    ASSERT_EQ(Store().WriteString(Key().c_str(), "CommandLine", "/P x.mp3"),
              StoreWriteResult::kWritten);
    ASSERT_EQ(Store().WriteDword(Key().c_str(), "RunningWindow", 1234), StoreWriteResult::kWritten);
    EXPECT_TRUE(Store().DeleteValue(Key().c_str(), "commandline"));
    EXPECT_FALSE(Store().DeleteValue(Key().c_str(), "CommandLine"));
    EXPECT_FALSE(Store().DeleteValue(Key("Missing").c_str(), "CommandLine"));
    std::string text;
    uint32_t number = 0;
    EXPECT_FALSE(Store().ReadString(Key().c_str(), "CommandLine", text));
    EXPECT_TRUE(Store().ReadDword(Key().c_str(), "RunningWindow", number));
    EXPECT_EQ(number, 1234u);
}

TEST_P(SettingsStoreContract, TheProgramsOperationsApplyTheReadBufferRule) {
    ScopedSettingsStore installed(Store());
    RecordingMessageBox boxes;
    ScopedMessageBox recorder(boxes);
    const std::string key = Key();
    const std::string longest(127, 'a'), tooLong(128, 'b');

    ASSERT_EQ(WriteStringSetting(key.c_str(), "Longest", longest.c_str()), 1);
    ASSERT_EQ(WriteStringSetting(key.c_str(), "TooLong", tooLong.c_str()), 1);
    ASSERT_EQ(WriteDwordSetting(key.c_str(), "WaveOutDevice", 0xFFFFFFFFu), 1);

    char buffer[300] = "default";
    EXPECT_EQ(ReadStringSetting(key.c_str(), "Longest", buffer, sizeof buffer), 1);
    EXPECT_EQ(std::string(buffer), longest);
    std::snprintf(buffer, sizeof buffer, "default");
    EXPECT_EQ(ReadStringSetting(key.c_str(), "TooLong", buffer, sizeof buffer), 0);
    EXPECT_STREQ(buffer, "default");
    std::string text = "default";
    EXPECT_EQ(ReadStringSetting(key.c_str(), "TooLong", text), 0);
    EXPECT_EQ(text, "default");

    // A destination smaller than the text is refused, never overrun.
    char small[8] = "keep";
    EXPECT_EQ(ReadStringSetting(key.c_str(), "Longest", small, sizeof small), 0);
    EXPECT_STREQ(small, "keep");

    int32_t device = 0;
    EXPECT_EQ(ReadDwordSetting(key.c_str(), "WaveOutDevice", device), 1);
    EXPECT_EQ(device, -1);
    EXPECT_EQ(boxes.Count(), 0u);
}

std::vector<StoreKind> StoresOfThisSystem() {
    std::vector<StoreKind> kinds = {{"Memory", testing::MakeMemoryStore}};
#if defined(_WIN32)
    kinds.push_back({"Registry", testing::MakeRegistryStore});
#else
    kinds.push_back({"File", testing::MakeFileStore});
#endif
    return kinds;
}

INSTANTIATE_TEST_SUITE_P(Stores, SettingsStoreContract, ::testing::ValuesIn(StoresOfThisSystem()),
                         [](const ::testing::TestParamInfo<StoreKind>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
}  // namespace plyvane
