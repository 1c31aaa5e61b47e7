// The stores of this system for the contract suite, each in a clean state:
// the fake; the settings file in a private folder (POSIX); the registry under
// a private test key, removed afterwards (Windows).
#pragma once

#include <memory>
#include <string>

#include "settings_store.h"

namespace plyvane::testing {

class StoreUnderTest {
public:
    virtual ~StoreUnderTest() = default;
    virtual SettingsStore& Store() = 0;
    // A key path of this test that no other test uses; removed by the fixture.
    virtual std::string Key(const std::string& below) const = 0;
};

std::unique_ptr<StoreUnderTest> MakeMemoryStore();
#if defined(_WIN32)
std::unique_ptr<StoreUnderTest> MakeRegistryStore();
#else
std::unique_ptr<StoreUnderTest> MakeFileStore();
// A fresh private folder, removed with its content when the object goes.
class TemporaryFolder {
public:
    TemporaryFolder();
    ~TemporaryFolder();
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};
#endif

}  // namespace plyvane::testing
