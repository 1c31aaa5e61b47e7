#include "version_check.h"

#include <cstdio>
#include <cstring>

namespace plyvane {

std::string VersionFromResourceText(const char* text) {
    std::string version;
    if (text == nullptr) return version;
    for (const char* p = text; *p != '\0'; ++p) {
        if (*p >= '0' && *p <= '9') {
            version.push_back(*p);
        } else if (*p == ',') {
            version.push_back('.');
        }
    }
    return version;
}

void MajorMinorOf(const std::string& version, int& major, int& minor) {
    major = 0;
    minor = 0;
    std::sscanf(version.c_str(), "%d.%d", &major, &minor);
}

VersionAction CompareStoredVersion(const std::string& stored, const std::string& current) {
    int order = std::strcmp(stored.c_str(), current.c_str());
    if (order < 0) return stored.empty() ? VersionAction::kFirstRun : VersionAction::kUpgrade;
    if (order > 0) return VersionAction::kOlder;
    return VersionAction::kSame;
}

}  // namespace plyvane
