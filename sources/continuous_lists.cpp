#include "continuous_lists.h"

#include <climits>
#include <cstdio>

namespace plyvane {

ContinuousLists& ContinuousLists::Instance() {
    static ContinuousLists lists;
    return lists;
}

long ContinuousLists::Register(ContinuousList names) {
    auto list = std::make_shared<const ContinuousList>(std::move(names));
    std::lock_guard<std::mutex> lock(mutex_);
    // Handles are not reused while the counter lasts, so a stale name fails
    // instead of reaching a newer list; on wrap-around skip those in use.
    // The 32-bit range keeps "%ld" the same on every platform.
    do {
        lastHandle_ = lastHandle_ >= 0x7FFFFFFFL ? 1 : lastHandle_ + 1;
    } while (lists_.count(lastHandle_) != 0);
    lists_[lastHandle_] = std::move(list);
    return lastHandle_;
}

void ContinuousLists::Unregister(long handle) {
    std::lock_guard<std::mutex> lock(mutex_);
    lists_.erase(handle);
}

std::shared_ptr<const ContinuousList> ContinuousLists::Find(long handle) const {
    std::lock_guard<std::mutex> lock(mutex_);
    auto found = lists_.find(handle);
    return found == lists_.end() ? nullptr : found->second;
}

bool ContinuousLists::HasListPrefix(const char* name) {
    if (name == nullptr) return false;
    static const char kPrefix[] = "list:";
    for (int i = 0; i < 5; ++i) {
        char c = name[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != kPrefix[i]) return false;  // also stops at the terminator
    }
    return true;
}

bool ContinuousLists::ParseListName(const char* name, long& handle) {
    if (!HasListPrefix(name)) return false;
    const char* digits = name + 5;
    if (*digits == '\0') return false;
    long value = 0;
    for (const char* p = digits; *p != '\0'; ++p) {
        if (*p < '0' || *p > '9') return false;
        int digit = *p - '0';
        if (value > (LONG_MAX - digit) / 10) return false;
        value = value * 10 + digit;
    }
    if (value <= 0) return false;
    handle = value;
    return true;
}

std::string ContinuousLists::ListName(long handle) {
    char text[32];
    std::snprintf(text, sizeof text, "list:%ld", handle);
    return text;
}

}  // namespace plyvane
