#include "store_fixtures.h"

#include <atomic>

#include "memory_settings_store.h"

#if defined(_WIN32)
#include <windows.h>

#include "registry_settings_store.h"
#else
#include <cstdlib>
#include <ftw.h>
#include <unistd.h>

#include "file_settings_store.h"
#endif

namespace plyvane::testing {

namespace {
std::atomic<int> nextKey{0};

std::string UniqueTestKey() {
#if defined(_WIN32)
    unsigned long process = GetCurrentProcessId();
#else
    unsigned long process = static_cast<unsigned long>(getpid());
#endif
    return "Brindlex\\PlyvaneTest\\Contract" + std::to_string(process) + "-" +
           std::to_string(nextKey++);
}

class MemoryStoreUnderTest : public StoreUnderTest {
public:
    SettingsStore& Store() override { return store_; }
    std::string Key(const std::string& below) const override { return root_ + "\\" + below; }

private:
    std::string root_ = UniqueTestKey();
    MemorySettingsStore store_;
};
}  // namespace

std::unique_ptr<StoreUnderTest> MakeMemoryStore() {
    return std::make_unique<MemoryStoreUnderTest>();
}

#if defined(_WIN32)
namespace {
class RegistryStoreUnderTest : public StoreUnderTest {
public:
    RegistryStoreUnderTest() : root_(UniqueTestKey()) {}
    ~RegistryStoreUnderTest() override {
        RegDeleteTreeA(HKEY_CURRENT_USER, ("Software\\" + root_).c_str());
        // Only succeeds once no other test key is left below.
        RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Brindlex\\PlyvaneTest");
        RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Brindlex");  // only when empty
    }
    SettingsStore& Store() override { return store_; }
    std::string Key(const std::string& below) const override { return root_ + "\\" + below; }

private:
    std::string root_;
    RegistrySettingsStore store_;
};
}  // namespace

std::unique_ptr<StoreUnderTest> MakeRegistryStore() {
    return std::make_unique<RegistryStoreUnderTest>();
}
#else
TemporaryFolder::TemporaryFolder() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base != nullptr && *base ? base : "/tmp") +
                          "/plyvane-settings-XXXXXX";
    if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
}

TemporaryFolder::~TemporaryFolder() {
    if (path_.empty()) return;
    nftw(
        path_.c_str(),
        [](const char* path, const struct stat*, int, struct FTW*) { return ::remove(path); }, 16,
        FTW_DEPTH | FTW_PHYS);
}

namespace {
class FileStoreUnderTest : public StoreUnderTest {
public:
    FileStoreUnderTest() : store_(folder_.Path() + "/config/plyvane/settings") {}
    SettingsStore& Store() override { return store_; }
    std::string Key(const std::string& below) const override { return root_ + "\\" + below; }

private:
    std::string root_ = UniqueTestKey();
    TemporaryFolder folder_;
    FileSettingsStore store_;
};
}  // namespace

std::unique_ptr<StoreUnderTest> MakeFileStore() { return std::make_unique<FileStoreUnderTest>(); }
#endif

}  // namespace plyvane::testing
