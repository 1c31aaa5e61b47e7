// The settings of the Controls and the Internet pages, as stored and posted.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "controls_settings.h"
#include "internet_settings.h"
#include "memory_settings_store.h"
#include "password_setting.h"

namespace plyvane {
namespace {

using Posted = std::vector<std::pair<int, intptr_t>>;

class PageSettings : public ::testing::Test {
protected:
    uint32_t Number(const char* name) {
        uint32_t value = 0xDEAD;
        ReadDwordSetting(kConfigurationKey, name, value);
        return value;
    }
    std::string Text(const char* name) {
        std::string value = "<absent>";
        ReadStringSetting(kConfigurationKey, name, value);
        return value;
    }

    MemorySettingsStore store_;
    ScopedSettingsStore useStore_{store_};
};

TEST_F(PageSettings, ControlsReadTheirDefaults) {
    ControlsSettings settings = ReadControlsSettings();
    EXPECT_TRUE(settings.taskBar);
    EXPECT_TRUE(settings.scrollCaption);
    EXPECT_EQ(settings.dialogState, 0);
    WriteDwordSetting(kConfigurationKey, "TaskBar", 0);
    WriteDwordSetting(kConfigurationKey, "DialogState", 3);
    settings = ReadControlsSettings();
    EXPECT_FALSE(settings.taskBar);
    EXPECT_EQ(settings.dialogState, 3);
    // A size the list does not have would be posted to the main window.
    WriteDwordSetting(kConfigurationKey, "DialogState", 7);
    EXPECT_EQ(ReadControlsSettings().dialogState, 0);
}

TEST_F(PageSettings, ControlsStoreAndPostInOrder) {
    struct Case {
        ControlsSettings settings;
        Posted expected;
    };
    const Case cases[] = {
        {{true, true, 1},
         {{ID_TASKBAR_CONTROLS_ON, 0}, {ID_SCROLL_CAPTION_ON, 0}, {ID_SET_DIALOG_STATE, 1}}},
        {{false, false, 3},
         {{ID_TASKBAR_CONTROLS_OFF, 0}, {ID_SCROLL_CAPTION_OFF, 0}, {ID_SET_DIALOG_STATE, 3}}},
    };
    for (const Case& c : cases) {
        Posted posted;
        ApplyControlsSettings(c.settings, [&](int id, intptr_t p) { posted.emplace_back(id, p); });
        EXPECT_EQ(posted, c.expected);
        EXPECT_EQ(Number("TaskBar"), c.settings.taskBar ? 1u : 0u);
        EXPECT_EQ(Number("ScrollCaption"), c.settings.scrollCaption ? 1u : 0u);
        EXPECT_EQ(Number("DialogState"), static_cast<uint32_t>(c.settings.dialogState));
    }
}

TEST_F(PageSettings, InternetReadsItsDefaults) {
    InternetSettings settings = ReadInternetSettings();
    EXPECT_EQ(settings.proxy, "");
    EXPECT_EQ(settings.port, "0");
    EXPECT_FALSE(settings.playAndSave);
    EXPECT_TRUE(settings.skipFileScan);
    WriteDwordSetting(kConfigurationKey, "ProxyPort", 8080);
    WriteDwordSetting(kConfigurationKey, "PlayAndSave", 1);
    WriteDwordSetting(kConfigurationKey, "SkipHTTPFileScan", 0);
    WriteStringSetting(kConfigurationKey, "Password", "plain old");
    settings = ReadInternetSettings();
    EXPECT_EQ(settings.port, "8080");
    EXPECT_TRUE(settings.playAndSave);
    EXPECT_FALSE(settings.skipFileScan);
    EXPECT_EQ(settings.password, "plain old");
}

TEST_F(PageSettings, PortTextToStore) {
    struct Case {
        const char* text;
        bool stored;
        uint32_t port;
    };
    const Case cases[] = {
        {"", true, 0},  // a cleared field stores 0
        {"8080", true, 8080},
        {"  3128", true, 3128},
        {"80abc", true, 80},  // the number it starts with
        {"+81", true, 81},
        {"abc", false, 0},  // letters only: nothing
        {"0", false, 0},    // reads as 0: the stored port stays
        {"   ", false, 0},
        {"-5", false, 0},  // not a port
        {"65535", true, 65535},
        {"65536", false, 0},
        {"99999999999999999999", false, 0},  // no overflow
    };
    for (const Case& c : cases) {
        uint32_t port = 4242;
        EXPECT_EQ(PortToStore(c.text, port), c.stored) << '"' << c.text << '"';
        if (c.stored) {
            EXPECT_EQ(port, c.port) << '"' << c.text << '"';
        }
    }
}

TEST_F(PageSettings, InternetWritesOnlyWhatChangedAndAlwaysTheScanBox) {
    InternetSettings settings;
    settings.proxy = "proxy.example";
    settings.port = "3128";
    settings.user = "anna";
    settings.password = "secret";
    settings.playAndSave = true;
    settings.skipFileScan = false;

    InternetChanges none;
    ApplyInternetSettings(settings, none);
    EXPECT_EQ(store_.WrittenNames(), std::vector<std::string>{"SkipHTTPFileScan"});
    EXPECT_EQ(Number("SkipHTTPFileScan"), 0u);

    store_.ClearWrittenNames();
    InternetChanges all{true, true, true};
    ApplyInternetSettings(settings, all);
    EXPECT_EQ(store_.WrittenNames(),
              (std::vector<std::string>{"Proxy", "ProxyPort", "User", "Password", "PlayAndSave",
                                        "SkipHTTPFileScan"}));
    EXPECT_FALSE(all.proxy || all.account || all.download);
    EXPECT_EQ(Text("Proxy"), "proxy.example");
    EXPECT_EQ(Number("ProxyPort"), 3128u);
    EXPECT_EQ(Text("User"), "anna");
    EXPECT_EQ(ReadPasswordSetting(), "secret");
    EXPECT_EQ(Number("PlayAndSave"), 1u);

    // Letters in the port field leave the stored port alone.
    settings.port = "none";
    InternetChanges proxy{true, false, false};
    ApplyInternetSettings(settings, proxy);
    EXPECT_EQ(Number("ProxyPort"), 3128u);
    settings.port = "";
    proxy.proxy = true;
    ApplyInternetSettings(settings, proxy);
    EXPECT_EQ(Number("ProxyPort"), 0u);
}

}  // namespace
}  // namespace plyvane
