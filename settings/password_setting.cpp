#include "password_setting.h"

#include <cstdint>
#include <cstring>
#include <utility>

#include "settings_store.h"

namespace plyvane {

namespace {
constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr size_t kPrefixLength = sizeof kProtectedPrefix - 1;
// A sealed password of any sensible length fits easily.
constexpr size_t kLongestSealedText = 16 * 1024;

int Sextet(char c) {
    const char* at = c != '\0' ? std::strchr(kAlphabet, c) : nullptr;
    return at != nullptr ? static_cast<int>(at - kAlphabet) : -1;
}
}  // namespace

std::string EncodeBase64(const std::string& bytes) {
    std::string text;
    text.reserve((bytes.size() + 2) / 3 * 4);
    for (size_t i = 0; i < bytes.size(); i += 3) {
        uint32_t group = static_cast<uint32_t>(static_cast<unsigned char>(bytes[i])) << 16;
        if (i + 1 < bytes.size())
            group |= static_cast<uint32_t>(static_cast<unsigned char>(bytes[i + 1])) << 8;
        if (i + 2 < bytes.size()) group |= static_cast<unsigned char>(bytes[i + 2]);
        text += kAlphabet[(group >> 18) & 63];
        text += kAlphabet[(group >> 12) & 63];
        text += i + 1 < bytes.size() ? kAlphabet[(group >> 6) & 63] : '=';
        text += i + 2 < bytes.size() ? kAlphabet[group & 63] : '=';
    }
    return text;
}

bool DecodeBase64(const std::string& text, std::string& bytes) {
    if (text.size() % 4 != 0) return false;
    std::string out;
    out.reserve(text.size() / 4 * 3);
    for (size_t i = 0; i < text.size(); i += 4) {
        bool last = i + 4 == text.size();
        int padding = 0;
        uint32_t group = 0;
        for (size_t j = 0; j < 4; ++j) {
            char c = text[i + j];
            if (c == '=' && last && j >= 2) {
                ++padding;
                group <<= 6;
                continue;
            }
            int value = Sextet(c);
            if (value < 0 || padding > 0) return false;  // nothing after '='
            group = (group << 6) | static_cast<uint32_t>(value);
        }
        out += static_cast<char>((group >> 16) & 0xFF);
        if (padding < 2) out += static_cast<char>((group >> 8) & 0xFF);
        if (padding < 1) out += static_cast<char>(group & 0xFF);
    }
    bytes = std::move(out);
    return true;
}

std::string ReadPasswordSetting(SecretProtector* protector) {
    std::string stored;
    if (protector != nullptr &&
        CurrentSettingsStore().ReadString(kConfigurationKey, "Password", stored) &&
        stored.size() <= kLongestSealedText &&
        stored.compare(0, kPrefixLength, kProtectedPrefix) == 0) {
        std::string sealed, plain;
        if (DecodeBase64(stored.substr(kPrefixLength), sealed) &&
            protector->Unprotect(sealed, plain)) {
            return plain;
        }
    }
    // A plain value, read as every setting text is (at most 127 characters).
    std::string plain;
    ReadStringSetting(kConfigurationKey, "Password", plain);
    return plain;
}

int WritePasswordSetting(const std::string& password, SecretProtector* protector) {
    std::string sealed;
    if (!password.empty() && protector != nullptr && protector->Protect(password, sealed)) {
        std::string text = kProtectedPrefix + EncodeBase64(sealed);
        return WriteStringSetting(kConfigurationKey, "Password", text.c_str());
    }
    return WriteStringSetting(kConfigurationKey, "Password", password.c_str());
}

}  // namespace plyvane
