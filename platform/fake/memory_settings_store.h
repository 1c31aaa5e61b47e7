// An in-memory settings store for tests: the same contract as the registry,
// with switches that make key creation or value writes fail.
#pragma once

#include <map>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "settings_store.h"

namespace plyvane {

class MemorySettingsStore : public SettingsStore {
public:
    StoreWriteResult WriteString(const char* key, const char* name, const char* text) override;
    StoreWriteResult WriteDword(const char* key, const char* name, uint32_t value) override;
    bool ReadString(const char* key, const char* name, std::string& text) override;
    bool ReadDword(const char* key, const char* name, uint32_t& value) override;
    bool DeleteValue(const char* key, const char* name) override;

    // Failure injection: writes report kKeyNotCreated / kValueNotWritten.
    void FailKeyCreation(bool fail) { failKeys_ = fail; }
    void FailValueWrites(bool fail) { failValues_ = fail; }

    // Names written, in order ("" for a default value), for order checks.
    std::vector<std::string> WrittenNames() const;
    void ClearWrittenNames();
    bool HasKey(const std::string& key) const;

private:
    struct Value {
        bool isText = false;
        std::string text;
        uint32_t number = 0;
    };
    using Path = std::pair<std::string, std::string>;  // key (lower case), name (lower case)

    StoreWriteResult Write(const char* key, const char* name, Value value);

    mutable std::mutex mutex_;
    std::map<Path, Value> values_;
    std::map<std::string, bool> keys_;
    std::vector<std::string> written_;
    bool failKeys_ = false;
    bool failValues_ = false;
};

}  // namespace plyvane
