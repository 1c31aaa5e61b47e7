#include "temp_files.h"

#include <atomic>
#include <chrono>
#include <fstream>
#include <stdexcept>

namespace plyvane::testing {

TempFiles::TempFiles() {
    static std::atomic<unsigned> counter{0};
    auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    std::filesystem::path base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        auto candidate = base / ("plyvane-test-" + std::to_string(stamp) + "-" +
                                 std::to_string(counter++));
        if (std::filesystem::create_directory(candidate)) {
            folder_ = candidate;
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

TempFiles::~TempFiles() {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

std::string TempFiles::Write(const std::string& name, const std::string& bytes) {
    auto path = folder_ / name;
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path.string());
    return path.string();
}

std::string TempFiles::Missing(const std::string& name) const { return (folder_ / name).string(); }

std::string Pattern(size_t count, unsigned first) {
    std::string bytes(count, '\0');
    for (size_t i = 0; i < count; ++i) bytes[i] = static_cast<char>((first + i) & 0xFF);
    return bytes;
}

}  // namespace plyvane::testing
