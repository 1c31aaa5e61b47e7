// The settings store on Windows: HKEY_CURRENT_USER\Software\<key>.
#pragma once

#include "settings_store.h"

namespace plyvane {

class RegistrySettingsStore : public SettingsStore {
public:
    StoreWriteResult WriteString(const char* key, const char* name, const char* text) override;
    StoreWriteResult WriteDword(const char* key, const char* name, uint32_t value) override;
    bool ReadString(const char* key, const char* name, std::string& text) override;
    bool ReadDword(const char* key, const char* name, uint32_t& value) override;
    bool DeleteValue(const char* key, const char* name) override;
};

}  // namespace plyvane
