#include "registry_classes_tree.h"

#include <cstring>
#include <vector>

namespace plyvane {

namespace {
// A sanity bound for a default value: far beyond any command line.
constexpr DWORD kLongestValue = 64 * 1024;
}  // namespace

std::string RegistryClassesTree::PathOf(const std::string& key) const {
    return base_.empty() ? key : base_ + "\\" + key;
}

ClassesRead RegistryClassesTree::ReadDefault(const std::string& key, std::string& value) {
    HKEY handle = nullptr;
    if (::RegOpenKeyExA(root_, PathOf(key).c_str(), 0, KEY_QUERY_VALUE, &handle) != ERROR_SUCCESS)
        return ClassesRead::kMissing;
    ClassesRead result = ClassesRead::kUnreadable;
    DWORD type = 0, size = 0;
    LONG query = ::RegQueryValueExA(handle, "", nullptr, &type, nullptr, &size);
    if (query == ERROR_FILE_NOT_FOUND) {
        result = ClassesRead::kNoValue;
    } else if (query == ERROR_SUCCESS && type == REG_SZ && size <= kLongestValue) {
        // One byte more than asked for: a REG_SZ need not carry its zero.
        std::vector<char> text(size + 1, '\0');
        DWORD got = size;
        if (::RegQueryValueExA(handle, "", nullptr, &type, reinterpret_cast<BYTE*>(text.data()),
                               &got) == ERROR_SUCCESS &&
            type == REG_SZ && got <= size) {
            value.assign(text.data(), strnlen(text.data(), got));
            result = ClassesRead::kFound;
        }
    }
    ::RegCloseKey(handle);
    return result;
}

bool RegistryClassesTree::KeyExists(const std::string& key) {
    HKEY handle = nullptr;
    if (::RegOpenKeyExA(root_, PathOf(key).c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS)
        return false;
    ::RegCloseKey(handle);
    return true;
}

bool RegistryClassesTree::WriteDefault(const std::string& key, const std::string& value) {
    HKEY handle = nullptr;
    DWORD disposition = 0;
    char keyClass[] = "String";
    if (::RegCreateKeyExA(root_, PathOf(key).c_str(), 0, keyClass, REG_OPTION_NON_VOLATILE,
                          KEY_ALL_ACCESS, nullptr, &handle, &disposition) != ERROR_SUCCESS)
        return false;
    // The terminating zero is counted, as REG_SZ wants.
    LONG stored = ::RegSetValueExA(handle, "", 0, REG_SZ,
                                   reinterpret_cast<const BYTE*>(value.c_str()),
                                   static_cast<DWORD>(value.size() + 1));
    ::RegCloseKey(handle);
    return stored == ERROR_SUCCESS;
}

}  // namespace plyvane
