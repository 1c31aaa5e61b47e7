#include "internet_settings.h"

#include "password_setting.h"

namespace plyvane {

InternetSettings ReadInternetSettings() {
    InternetSettings settings;
    ReadStringSetting(kConfigurationKey, "Proxy", settings.proxy);
    ReadStringSetting(kConfigurationKey, "User", settings.user);
    settings.password = ReadPasswordSetting();
    int32_t port = 0;
    ReadDwordSetting(kConfigurationKey, "ProxyPort", port);
    settings.port = std::to_string(port);
    uint32_t playAndSave = 0, skip = 1;
    ReadDwordSetting(kConfigurationKey, "PlayAndSave", playAndSave);
    ReadDwordSetting(kConfigurationKey, "SkipHTTPFileScan", skip);
    settings.playAndSave = playAndSave != 0;
    settings.skipFileScan = skip != 0;
    return settings;
}

bool PortToStore(const std::string& text, uint32_t& port) {
    if (text.empty()) {
        port = 0;
        return true;
    }
    size_t at = 0;
    while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';
    uint32_t value = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
        value = value * 10 + static_cast<uint32_t>(text[at] - '0');
        if (value > 65535) return false;  // also stops before any overflow
    }
    if (negative || value == 0) return false;
    port = value;
    return true;
}

void ApplyInternetSettings(const InternetSettings& settings, InternetChanges& changes) {
    if (changes.proxy) {
        WriteStringSetting(kConfigurationKey, "Proxy", settings.proxy.c_str());
        uint32_t port = 0;
        if (PortToStore(settings.port, port))
            WriteDwordSetting(kConfigurationKey, "ProxyPort", port);
        changes.proxy = false;
    }
    if (changes.account) {
        WriteStringSetting(kConfigurationKey, "User", settings.user.c_str());
        WritePasswordSetting(settings.password);
        changes.account = false;
    }
    if (changes.download) {
        WriteDwordSetting(kConfigurationKey, "PlayAndSave", settings.playAndSave ? 1 : 0);
        changes.download = false;
    }
    WriteDwordSetting(kConfigurationKey, "SkipHTTPFileScan", settings.skipFileScan ? 1 : 0);
}

}  // namespace plyvane
