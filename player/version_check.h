// The product version as the start-up reads it from the version resource,
// and the comparison with the version stored by the last run.
#pragma once

#include <string>

namespace plyvane {

inline constexpr char kNoVersion[] = "no version";

// Keeps only the digits of the resource text, with every "," as ".":
// "4, 9, 99, 3" gives "4.9.99.3".
std::string VersionFromResourceText(const char* text);

// The first two numbers ("%d.%d"); 0 when absent.
void MajorMinorOf(const std::string& version, int& major, int& minor);

enum class VersionAction {
    kFirstRun,   // nothing stored: set-up once, then store and reset
    kUpgrade,    // stored version sorts before ours: store ours and reset
    kSame,
    kOlder,      // stored version sorts after ours: refuse to run
};

// Plain byte order, as the stored texts were always compared.
VersionAction CompareStoredVersion(const std::string& stored, const std::string& current);

}  // namespace plyvane
