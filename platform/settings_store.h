// The settings store: the program's settings under "Software\" of the current
// user, in the registry on Windows and in a text file elsewhere. The port is
// SettingsStore; the process-wide operations below (ReadStringSetting ...) are
// what the rest of the program calls, and they reach whichever store is
// installed for the process.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace plyvane {

// Key paths, relative to "Software\".
inline constexpr char kPlaybackKey[] = "Brindlex\\Plyvane\\Playback";
inline constexpr char kConfigurationKey[] = "Brindlex\\Plyvane\\Playback\\Configuration";

// Shown through ShowError when a key cannot be created on a write.
inline constexpr char kCannotCreateRegistryEntry[] = "Cannot create registry entry";

// The registry read buffer: a text value needs room for its terminating zero
// within these bytes, so texts of 128 characters or more are not read.
inline constexpr std::size_t kSettingTextCapacity = 128;

enum class StoreWriteResult {
    kWritten,          // the value is stored
    kKeyNotCreated,    // the key path could not be created or opened
    kValueNotWritten,  // the key exists but the value could not be stored
};

// The port. Key paths are relative to "Software\" (the adapter adds it); a
// name that is null or empty means the key's default (unnamed) value.
// Values are texts (REG_SZ) or 32-bit numbers (REG_DWORD); a value read with
// the other type counts as absent. Adapters are safe to call from several
// threads, but the process-wide operations are meant for the UI thread.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    // Creates the key path when needed.
    virtual StoreWriteResult WriteString(const char* key, const char* name, const char* text) = 0;
    virtual StoreWriteResult WriteDword(const char* key, const char* name, uint32_t value) = 0;

    // True when the value exists with that type; the whole text is returned
    // (the length rule of the program is applied by ReadStringSetting).
    // `text`/`value` are untouched when false.
    virtual bool ReadString(const char* key, const char* name, std::string& text) = 0;
    virtual bool ReadDword(const char* key, const char* name, uint32_t& value) = 0;

    // True when the value existed and is gone.
    virtual bool DeleteValue(const char* key, const char* name) = 0;
};

// Installs the store every operation below uses; null restores the platform's
// own store (the registry on Windows, the settings file elsewhere). The store
// must outlive its installation. Tests install a fake.
void SetSettingsStore(SettingsStore* store);
SettingsStore& CurrentSettingsStore();

// The platform's own store, created on first use and kept for the process.
SettingsStore& PlatformSettingsStore();

// Installs a store for the life of a scope, then the platform's own again.
class ScopedSettingsStore {
public:
    explicit ScopedSettingsStore(SettingsStore& store) { SetSettingsStore(&store); }
    ~ScopedSettingsStore() { SetSettingsStore(nullptr); }
    ScopedSettingsStore(const ScopedSettingsStore&) = delete;
    ScopedSettingsStore& operator=(const ScopedSettingsStore&) = delete;
};

// 1 when stored, else 0. A key that cannot be created shows
// "Cannot create registry entry" in the "Error!" box first.
int WriteStringSetting(const char* key, const char* name, const char* text);
int WriteDwordSetting(const char* key, const char* name, uint32_t value);

// 1 when found, else 0 with the destination untouched (the caller's default
// stands). A text of kSettingTextCapacity characters or more, or one that does
// not fit the destination with its terminating zero, is refused the same way.
int ReadStringSetting(const char* key, const char* name, char* destination, std::size_t destinationSize);
int ReadStringSetting(const char* key, const char* name, std::string& destination);
int ReadDwordSetting(const char* key, const char* name, uint32_t& destination);
int ReadDwordSetting(const char* key, const char* name, int32_t& destination);

// 1 when the value existed and is gone (used when the program clears state).
int DeleteSetting(const char* key, const char* name);

}  // namespace plyvane
