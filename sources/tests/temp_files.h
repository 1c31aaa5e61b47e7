// A private folder of small files for one test, removed afterwards; portable
// so the same tests run natively and under Wine.
#pragma once

#include <filesystem>
#include <string>

namespace plyvane::testing {

class TempFiles {
public:
    TempFiles();
    ~TempFiles();
    // Writes a file of the given bytes and returns its path.
    std::string Write(const std::string& name, const std::string& bytes);
    // A path in the folder where no file exists.
    std::string Missing(const std::string& name) const;
    std::string Folder() const { return folder_.string(); }

private:
    std::filesystem::path folder_;
};

// count bytes counting up from first (mod 256), so every offset is recognisable.
std::string Pattern(size_t count, unsigned first);

}  // namespace plyvane::testing
