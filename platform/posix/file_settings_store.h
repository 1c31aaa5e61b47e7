// The settings store of the native build: one text file, by default
// $XDG_CONFIG_HOME/plyvane/settings (~/.config/plyvane/settings).
//
// Every write replaces the file atomically (temporary file, fsync, rename,
// fsync of the folder), under an advisory lock shared with other processes,
// so a crash or a full disk leaves the old file or the new one, never half of
// one. Reads see other processes' writes: the file is read again whenever it
// changed on disk.
//
// A damaged or unreadable file counts as missing values (the readers'
// defaults), is reported once, and is never replaced by less than it held:
// before the first write it is kept aside as "<file>.bad" (".bad.1" ... when
// that exists), and the new file carries every value that could be read.
#pragma once

#include <mutex>
#include <string>

#include "file_identity.h"
#include "settings_file_format.h"
#include "settings_store.h"

namespace plyvane {

class FileSettingsStore : public SettingsStore {
public:
    explicit FileSettingsStore(std::string path);

    // $XDG_CONFIG_HOME/plyvane/settings; a relative or empty XDG_CONFIG_HOME is
    // ignored, as the XDG rules say, for $HOME/.config.
    static std::string DefaultPath();

    StoreWriteResult WriteString(const char* key, const char* name, const char* text) override;
    StoreWriteResult WriteDword(const char* key, const char* name, uint32_t value) override;
    bool ReadString(const char* key, const char* name, std::string& text) override;
    bool ReadDword(const char* key, const char* name, uint32_t& value) override;
    bool DeleteValue(const char* key, const char* name) override;

    const std::string& Path() const { return path_; }

    // Tests: the temporary file of the next writes fails with "no space left"
    // after this many bytes (negative: never).
    void FailWritesAfter(long bytes) { failAfter_ = bytes; }

private:
    enum class Health { kMissing, kHealthy, kDamaged, kUnreadable };

    // Brings the document up to date with the file; reports a damaged or
    // unreadable file once. Called with mutex_ held; the report is queued in
    // pendingReport_ and shown by ShowPendingReport after unlocking.
    void Refresh();
    void ShowPendingReport();

    // Runs `change` on the up-to-date document and writes it back. `change`
    // returns false when nothing is to be written.
    template <typename Change>
    StoreWriteResult Modify(const char* key, Change change);
    // Runs `take` on the value named `name` under `key` in the up-to-date
    // document; false when there is none or `take` refuses its type.
    template <typename Take>
    bool ReadValue(const char* key, const char* name, Take take);
    // Sets the value (adding its key when needed) and writes the file.
    StoreWriteResult WriteValue(const char* key, const SettingsFileValue& value);

    bool KeepDamagedFileAside();
    bool WriteFileAtomically(const std::string& target, const std::string& bytes);
    bool WriteAll(int fd, const std::string& bytes);

    const std::string path_;
    std::mutex mutex_;
    SettingsDocument document_;
    Health health_ = Health::kMissing;
    std::string damagedBytes_;  // the file as read, while it is damaged
    int damagedLine_ = 0;
    FileIdentity loaded_;
    bool loadedOnce_ = false;
    bool reported_ = false;
    bool keptAside_ = false;  // the damaged file of this load is kept aside
    std::string pendingReport_;
    long failAfter_ = -1;
};

}  // namespace plyvane
