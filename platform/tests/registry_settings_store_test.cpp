// The registry store under Windows (and Wine): the value types, sizes and key
// classes the program writes, and values it did not write itself.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "registry_settings_store.h"
#include "recording_message_box.h"

namespace plyvane {
namespace {

class RegistryStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        key_ = "Brindlex\\PlyvaneTest\\Registry" + std::to_string(GetCurrentProcessId());
        full_ = "Software\\" + key_;
    }
    void TearDown() override {
        RegDeleteTreeA(HKEY_CURRENT_USER, full_.c_str());
        RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Brindlex\\PlyvaneTest");
        RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Brindlex");  // only when empty
    }
    HKEY Open() {
        HKEY key = nullptr;
        EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, full_.c_str(), 0, KEY_ALL_ACCESS, &key),
                  ERROR_SUCCESS);
        return key;
    }
    void SetRaw(const char* name, DWORD type, const void* data, DWORD size) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, full_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                  nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        ASSERT_EQ(RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size),
                  ERROR_SUCCESS);
        RegCloseKey(key);
    }

    std::string key_, full_;
    RegistrySettingsStore store_;
};

TEST_F(RegistryStoreTest, WritesRegSzWithItsZeroAndFourByteRegDword) {
    ASSERT_EQ(store_.WriteString(key_.c_str(), "Version", "1.0"), StoreWriteResult::kWritten);
    ASSERT_EQ(store_.WriteDword(key_.c_str(), "Buffers", 4), StoreWriteResult::kWritten);
    ASSERT_EQ(store_.WriteString(key_.c_str(), nullptr, "default"), StoreWriteResult::kWritten);
    HKEY key = Open();
    ASSERT_NE(key, nullptr);

    DWORD type = 0, size = 0;
    char text[16] = {};
    size = sizeof text;
    ASSERT_EQ(RegQueryValueExA(key, "Version", nullptr, &type, reinterpret_cast<BYTE*>(text), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(size, 4u);
    EXPECT_STREQ(text, "1.0");

    DWORD number = 0;
    size = sizeof number;
    ASSERT_EQ(RegQueryValueExA(key, "Buffers", nullptr, &type, reinterpret_cast<BYTE*>(&number),
                               &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(size, 4u);
    EXPECT_EQ(number, 4u);

    size = sizeof text;
    ASSERT_EQ(RegQueryValueExA(key, "", nullptr, &type, reinterpret_cast<BYTE*>(text), &size),
              ERROR_SUCCESS);
    EXPECT_STREQ(text, "default");
    RegCloseKey(key);
}

TEST_F(RegistryStoreTest, ValuesOfOtherShapesAreNotTakenForSettings) {
    const DWORD shortNumber = 7;
    SetRaw("TwoBytes", REG_DWORD, &shortNumber, 2);
    SetRaw("Binary", REG_BINARY, &shortNumber, 4);
    SetRaw("Expand", REG_EXPAND_SZ, "%TEMP%", 7);
    uint32_t number = 99;
    std::string text = "keep";
    EXPECT_FALSE(store_.ReadDword(key_.c_str(), "TwoBytes", number));
    EXPECT_FALSE(store_.ReadDword(key_.c_str(), "Binary", number));
    EXPECT_FALSE(store_.ReadString(key_.c_str(), "Expand", text));
    EXPECT_EQ(number, 99u);
    EXPECT_EQ(text, "keep");
}

TEST_F(RegistryStoreTest, ATextWithoutItsZeroIsReadWithoutOverrun) {
    SetRaw("NoZero", REG_SZ, "abcdef", 6);
    std::string text;
    ASSERT_TRUE(store_.ReadString(key_.c_str(), "NoZero", text));
    EXPECT_EQ(text, "abcdef");

    // A long text the program's 128-byte read refuses.
    std::string longText(500, 'q');
    SetRaw("Long", REG_SZ, longText.c_str(), static_cast<DWORD>(longText.size() + 1));
    ScopedSettingsStore installed(store_);
    char buffer[128] = "default";
    EXPECT_EQ(ReadStringSetting(key_.c_str(), "Long", buffer, sizeof buffer), 0);
    EXPECT_STREQ(buffer, "default");
}

TEST_F(RegistryStoreTest, KeysAreCreatedWithTheirClassText) {
    ASSERT_EQ(store_.WriteString((key_ + "\\S").c_str(), "T", "x"), StoreWriteResult::kWritten);
    ASSERT_EQ(store_.WriteDword((key_ + "\\I").c_str(), "N", 1), StoreWriteResult::kWritten);
    for (auto [below, expected] : {std::pair<const char*, const char*>{"\\S", "String"},
                                   {"\\I", "Integer"}}) {
        HKEY key = nullptr;
        ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, (full_ + below).c_str(), 0, KEY_READ, &key),
                  ERROR_SUCCESS);
        char keyClass[32] = {};
        DWORD length = sizeof keyClass;
        ASSERT_EQ(RegQueryInfoKeyA(key, keyClass, &length, nullptr, nullptr, nullptr, nullptr,
                                   nullptr, nullptr, nullptr, nullptr, nullptr),
                  ERROR_SUCCESS);
        EXPECT_STREQ(keyClass, expected);
        RegCloseKey(key);
    }
}

}  // namespace
}  // namespace plyvane
