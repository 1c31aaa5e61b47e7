// The Internet page's settings: proxy and port, the HTTP account, whether an
// opened address is also saved, and whether a playlist's HTTP entries are
// scanned for their duration.
#pragma once

#include <cstdint>
#include <string>

#include "settings_store.h"

namespace plyvane {

// Texts longer than this are refused when read back, so the fields take no
// more.
inline constexpr int kInternetFieldLimit = static_cast<int>(kSettingTextCapacity) - 1;

struct InternetSettings {
    std::string proxy;          // "Proxy"
    std::string port;           // "ProxyPort" as the field shows it ("%d")
    std::string user;           // "User"
    std::string password;       // "Password"
    bool playAndSave = false;   // "PlayAndSave": "Download and save"
    bool skipFileScan = true;   // "SkipHTTPFileScan" (absent: 1 on this page)
};

// What the user changed on the page since the last apply.
struct InternetChanges {
    bool proxy = false;     // proxy or port
    bool account = false;   // user name or password
    bool download = false;  // "Download only" / "Download and save"
};

InternetSettings ReadInternetSettings();

// Writes, in this order and only for what changed: "Proxy" and "ProxyPort",
// "User" and "Password", "PlayAndSave"; then, always, "SkipHTTPFileScan".
// The flags are cleared.
void ApplyInternetSettings(const InternetSettings& settings, InternetChanges& changes);

// The port to store for the field's text: 0 for an empty field, else the
// decimal number it starts with (after blanks) when that is a port 1..65535.
// False when nothing is to be stored (letters, 0, a number out of range).
bool PortToStore(const std::string& text, uint32_t& port);

}  // namespace plyvane
