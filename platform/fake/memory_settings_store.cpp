#include "memory_settings_store.h"

#include <cctype>

namespace plyvane {

namespace {
// Key and value names compare without regard to case, as in the registry.
std::string Folded(const char* text) {
    std::string folded = text != nullptr ? text : "";
    for (char& c : folded) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return folded;
}
}  // namespace

StoreWriteResult MemorySettingsStore::Write(const char* key, const char* name, Value value) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (failKeys_ || key == nullptr || *key == '\0') return StoreWriteResult::kKeyNotCreated;
    std::string path = Folded(key);
    // Creating a key creates the keys above it.
    for (std::size_t at = path.find('\\'); at != std::string::npos; at = path.find('\\', at + 1))
        keys_[path.substr(0, at)] = true;
    keys_[path] = true;
    if (failValues_) return StoreWriteResult::kValueNotWritten;
    values_[{path, Folded(name)}] = std::move(value);
    written_.push_back(name != nullptr ? name : "");
    return StoreWriteResult::kWritten;
}

StoreWriteResult MemorySettingsStore::WriteString(const char* key, const char* name,
                                                  const char* text) {
    Value value;
    value.isText = true;
    value.text = text != nullptr ? text : "";
    return Write(key, name, std::move(value));
}

StoreWriteResult MemorySettingsStore::WriteDword(const char* key, const char* name,
                                                 uint32_t number) {
    Value value;
    value.number = number;
    return Write(key, name, std::move(value));
}

bool MemorySettingsStore::ReadString(const char* key, const char* name, std::string& text) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto found = values_.find({Folded(key), Folded(name)});
    if (found == values_.end() || !found->second.isText) return false;
    text = found->second.text;
    return true;
}

bool MemorySettingsStore::ReadDword(const char* key, const char* name, uint32_t& value) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto found = values_.find({Folded(key), Folded(name)});
    if (found == values_.end() || found->second.isText) return false;
    value = found->second.number;
    return true;
}

bool MemorySettingsStore::DeleteValue(const char* key, const char* name) {
    std::lock_guard<std::mutex> lock(mutex_);
    return values_.erase({Folded(key), Folded(name)}) > 0;
}

std::vector<std::string> MemorySettingsStore::WrittenNames() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return written_;
}

void MemorySettingsStore::ClearWrittenNames() {
    std::lock_guard<std::mutex> lock(mutex_);
    written_.clear();
}

bool MemorySettingsStore::HasKey(const std::string& key) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return keys_.count(Folded(key.c_str())) > 0;
}

}  // namespace plyvane
