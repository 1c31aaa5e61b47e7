#include "pending_failures.h"

#include <cstdarg>
#include <cstdio>

namespace plyvane {

void PendingFailures::Add(const char* format, ...) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (count_ == kCapacity) return;
    char* text = texts_[(first_ + count_) % kCapacity];
    va_list arguments;
    va_start(arguments, format);
    if (std::vsnprintf(text, kLength, format, arguments) < 0) text[0] = '\0';
    va_end(arguments);
    ++count_;
}

bool PendingFailures::Take(char* text, std::size_t size) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (count_ == 0 || size == 0) return false;
    std::snprintf(text, size, "%s", texts_[first_]);
    first_ = (first_ + 1) % kCapacity;
    --count_;
    return true;
}

bool PendingFailures::Any() {
    std::lock_guard<std::mutex> lock(mutex_);
    return count_ > 0;
}

}  // namespace plyvane
