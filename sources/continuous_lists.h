// The continuous lists that the player registers for gapless playback. A
// source name "list:%ld" carries a handle from this table rather than a
// memory address, so a name typed by a user can only ever reach a list that
// was registered, or fail.
#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace plyvane {

using ContinuousList = std::vector<std::string>;

class ContinuousLists {
public:
    // The process-wide table that the player and its byte sources share.
    static ContinuousLists& Instance();

    // Keeps a copy of the names; returns a handle > 0 for "list:%ld".
    long Register(ContinuousList names);
    // Forgets the handle. A source that opened the list keeps reading its
    // own reference until it closes.
    void Unregister(long handle);
    // The list a handle names, or null.
    std::shared_ptr<const ContinuousList> Find(long handle) const;

    // The handle in a source name that begins with "list:" in any case.
    // False for other names and for anything but a plain positive decimal
    // that fits a long (no sign, blanks, trailing text or overflow).
    static bool ParseListName(const char* name, long& handle);
    static bool HasListPrefix(const char* name);
    // "list:<handle>".
    static std::string ListName(long handle);

private:
    mutable std::mutex mutex_;
    std::map<long, std::shared_ptr<const ContinuousList>> lists_;
    long lastHandle_ = 0;
};

}  // namespace plyvane
