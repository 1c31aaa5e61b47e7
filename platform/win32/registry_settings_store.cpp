// Settings in the registry of the current user. Writes create the key with
// the class text "String" or "Integer"; reads open it without creating it.
#include "registry_settings_store.h"

#include <windows.h>

#include <cstring>
#include <vector>

namespace plyvane {

namespace {
std::string SoftwarePath(const char* key) {
    return std::string("Software\\") + (key != nullptr ? key : "");
}

// Null or "" names the default value in both the program and the registry.
const char* ValueName(const char* name) { return name != nullptr ? name : ""; }

class OpenKey {
public:
    OpenKey(const char* key, REGSAM access) {
        if (RegOpenKeyExA(HKEY_CURRENT_USER, SoftwarePath(key).c_str(), 0, access, &handle_) !=
            ERROR_SUCCESS)
            handle_ = nullptr;
    }
    OpenKey(const char* key, const char* keyClass) {
        DWORD disposition = 0;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, SoftwarePath(key).c_str(), 0,
                            const_cast<char*>(keyClass), REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                            nullptr, &handle_, &disposition) != ERROR_SUCCESS)
            handle_ = nullptr;
    }
    ~OpenKey() {
        if (handle_ != nullptr) RegCloseKey(handle_);
    }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;
    HKEY get() const { return handle_; }

private:
    HKEY handle_ = nullptr;
};

StoreWriteResult SetValue(const char* key, const char* keyClass, const char* name, DWORD type,
                          const void* data, DWORD size) {
    OpenKey opened(key, keyClass);
    if (opened.get() == nullptr) return StoreWriteResult::kKeyNotCreated;
    LONG result = RegSetValueExA(opened.get(), ValueName(name), 0, type,
                                 static_cast<const BYTE*>(data), size);
    return result == ERROR_SUCCESS ? StoreWriteResult::kWritten
                                   : StoreWriteResult::kValueNotWritten;
}
}  // namespace

StoreWriteResult RegistrySettingsStore::WriteString(const char* key, const char* name,
                                                    const char* text) {
    if (text == nullptr) text = "";
    // The terminating zero is part of a REG_SZ value.
    DWORD size = static_cast<DWORD>(std::strlen(text) + 1);
    return SetValue(key, "String", name, REG_SZ, text, size);
}

StoreWriteResult RegistrySettingsStore::WriteDword(const char* key, const char* name,
                                                   uint32_t value) {
    DWORD number = value;
    return SetValue(key, "Integer", name, REG_DWORD, &number, sizeof number);
}

bool RegistrySettingsStore::ReadString(const char* key, const char* name, std::string& text) {
    OpenKey opened(key, KEY_QUERY_VALUE);
    if (opened.get() == nullptr) return false;
    // The size first, then the text: the value may change in between, so the
    // read is retried when it grew.
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD type = 0, size = 0;
        if (RegQueryValueExA(opened.get(), ValueName(name), nullptr, &type, nullptr, &size) !=
                ERROR_SUCCESS ||
            type != REG_SZ)
            return false;
        std::vector<char> buffer(size + 1, '\0');
        DWORD got = size;
        LONG result = RegQueryValueExA(opened.get(), ValueName(name), nullptr, &type,
                                       reinterpret_cast<BYTE*>(buffer.data()), &got);
        if (result == ERROR_MORE_DATA) continue;
        if (result != ERROR_SUCCESS || type != REG_SZ) return false;
        // A REG_SZ need not carry its zero; the extra byte supplies one.
        buffer[got < buffer.size() ? got : buffer.size() - 1] = '\0';
        text.assign(buffer.data());
        return true;
    }
    return false;
}

bool RegistrySettingsStore::ReadDword(const char* key, const char* name, uint32_t& value) {
    OpenKey opened(key, KEY_QUERY_VALUE);
    if (opened.get() == nullptr) return false;
    DWORD type = 0, number = 0, size = sizeof number;
    if (RegQueryValueExA(opened.get(), ValueName(name), nullptr, &type,
                         reinterpret_cast<BYTE*>(&number), &size) != ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof number)
        return false;
    value = number;
    return true;
}

bool RegistrySettingsStore::DeleteValue(const char* key, const char* name) {
    OpenKey opened(key, KEY_SET_VALUE);
    if (opened.get() == nullptr) return false;
    return RegDeleteValueA(opened.get(), ValueName(name)) == ERROR_SUCCESS;
}

SettingsStore& PlatformSettingsStore() {
    static RegistrySettingsStore store;
    return store;
}

}  // namespace plyvane
