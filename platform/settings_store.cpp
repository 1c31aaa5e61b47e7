// The process-wide settings operations over the installed store.
#include "settings_store.h"

#include <atomic>
#include <cstring>

#include "message_box.h"

namespace plyvane {

namespace {
std::atomic<SettingsStore*> installedStore{nullptr};

int Write(StoreWriteResult result) {
    if (result == StoreWriteResult::kKeyNotCreated) {
        ShowError(nullptr, "%s", kCannotCreateRegistryEntry);
        return 0;
    }
    return result == StoreWriteResult::kWritten ? 1 : 0;
}

// The registry read of the program takes at most kSettingTextCapacity bytes,
// terminating zero included.
bool FitsReadBuffer(const std::string& text) {
    return text.size() < kSettingTextCapacity && std::strlen(text.c_str()) == text.size();
}
}  // namespace

void SetSettingsStore(SettingsStore* store) { installedStore.store(store); }

SettingsStore& CurrentSettingsStore() {
    SettingsStore* store = installedStore.load();
    return store != nullptr ? *store : PlatformSettingsStore();
}

int WriteStringSetting(const char* key, const char* name, const char* text) {
    return Write(CurrentSettingsStore().WriteString(key, name, text != nullptr ? text : ""));
}

int WriteDwordSetting(const char* key, const char* name, uint32_t value) {
    return Write(CurrentSettingsStore().WriteDword(key, name, value));
}

int ReadStringSetting(const char* key, const char* name, char* destination,
                      std::size_t destinationSize) {
    std::string text;
    if (destination == nullptr || !CurrentSettingsStore().ReadString(key, name, text)) return 0;
    if (!FitsReadBuffer(text) || text.size() >= destinationSize) return 0;
    std::memcpy(destination, text.c_str(), text.size() + 1);
    return 1;
}

int ReadStringSetting(const char* key, const char* name, std::string& destination) {
    std::string text;
    if (!CurrentSettingsStore().ReadString(key, name, text) || !FitsReadBuffer(text)) return 0;
    destination = std::move(text);
    return 1;
}

int ReadDwordSetting(const char* key, const char* name, uint32_t& destination) {
    uint32_t value = 0;
    if (!CurrentSettingsStore().ReadDword(key, name, value)) return 0;
    destination = value;
    return 1;
}

int ReadDwordSetting(const char* key, const char* name, int32_t& destination) {
    uint32_t value = 0;
    if (!ReadDwordSetting(key, name, value)) return 0;
    destination = static_cast<int32_t>(value);
    return 1;
}

int DeleteSetting(const char* key, const char* name) {
    return CurrentSettingsStore().DeleteValue(key, name) ? 1 : 0;
}

}  // namespace plyvane
