#include "password_setting.h"

#include <gtest/gtest.h>

#include "memory_settings_store.h"
#include "settings_store.h"

namespace plyvane {
namespace {

// Seals by reversing the bytes behind a tag; refuses on request.
class ReversingProtector : public SecretProtector {
public:
    bool Protect(const std::string& plain, std::string& sealed) override {
        if (refuse) return false;
        sealed = "sealed" + std::string(plain.rbegin(), plain.rend());
        return true;
    }
    bool Unprotect(const std::string& sealed, std::string& plain) override {
        if (sealed.compare(0, 6, "sealed") != 0) return false;
        plain.assign(sealed.rbegin(), sealed.rend() - 6);
        return true;
    }
    bool refuse = false;
};

class PasswordSetting : public ::testing::Test {
protected:
    std::string Stored() {
        std::string text;
        store_.ReadString(kConfigurationKey, "Password", text);
        return text;
    }
    MemorySettingsStore store_;
    ScopedSettingsStore useStore_{store_};
    ReversingProtector protector_;
};

TEST(Base64, KnownVectorsAndStrictDecoding) {
    const std::pair<std::string, std::string> vectors[] = {
        {"", ""},           {"f", "Zg=="},         {"fo", "Zm8="},
        {"foo", "Zm9v"},    {"foob", "Zm9vYg=="},  {"fooba", "Zm9vYmE="},
        {"foobar", "Zm9vYmFy"}, {std::string("\xff\x00\x80", 3), "/wCA"}};
    for (const auto& [raw, text] : vectors) {
        EXPECT_EQ(EncodeBase64(raw), text);
        std::string decoded;
        ASSERT_TRUE(DecodeBase64(text, decoded)) << text;
        EXPECT_EQ(decoded, raw);
    }
    std::string out;
    for (const char* bad : {"Zg=", "Z===", "Zg=a", "Zm9v!g==", "=Zg=", "Zg==Zg=="}) {
        EXPECT_FALSE(DecodeBase64(bad, out)) << bad;
    }
}

TEST_F(PasswordSetting, NewPasswordsAreStoredSealed) {
    ASSERT_EQ(WritePasswordSetting("open sesame", &protector_), 1);
    std::string stored = Stored();
    EXPECT_EQ(stored.compare(0, 10, kProtectedPrefix), 0) << stored;
    EXPECT_EQ(stored.find("open sesame"), std::string::npos);
    EXPECT_EQ(ReadPasswordSetting(&protector_), "open sesame");
}

TEST_F(PasswordSetting, PlainPasswordsAreStillRead) {
    WriteStringSetting(kConfigurationKey, "Password", "written by 4.9");
    EXPECT_EQ(ReadPasswordSetting(&protector_), "written by 4.9");
    EXPECT_EQ(ReadPasswordSetting(nullptr), "written by 4.9");
    // A plain password that merely looks sealed stays what it is.
    WriteStringSetting(kConfigurationKey, "Password", "protected:not base64!");
    EXPECT_EQ(ReadPasswordSetting(&protector_), "protected:not base64!");
    // Absent: empty.
    DeleteSetting(kConfigurationKey, "Password");
    EXPECT_EQ(ReadPasswordSetting(&protector_), "");
}

TEST_F(PasswordSetting, StaysPlainWithoutAProtectorOrWhenSealingFails) {
    WritePasswordSetting("abc", nullptr);
    EXPECT_EQ(Stored(), "abc");
    protector_.refuse = true;
    WritePasswordSetting("def", &protector_);
    EXPECT_EQ(Stored(), "def");
    WritePasswordSetting("", &protector_);
    EXPECT_EQ(Stored(), "");
}

TEST_F(PasswordSetting, ASealedValueThatNoLongerOpensReadsAsNoPassword) {
    // Sealed for another user (or system): the text is long and unreadable
    // as a plain setting.
    std::string foreign = std::string(kProtectedPrefix) + EncodeBase64(std::string(200, 'x'));
    WriteStringSetting(kConfigurationKey, "Password", foreign.c_str());
    EXPECT_EQ(ReadPasswordSetting(&protector_), "");
}

}  // namespace
}  // namespace plyvane
