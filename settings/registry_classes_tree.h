// The file-type key trees in the registry: the classes root, and the current
// user's Software\Classes (where a user without administrator rights
// registers).
#pragma once

#include <windows.h>

#include <string>
#include <utility>

#include "classes_tree.h"

namespace plyvane {

class RegistryClassesTree : public ClassesTree {
public:
    // Keys below `root`\`basePath` (an empty base: the root itself).
    RegistryClassesTree(HKEY root, std::string basePath)
        : root_(root), base_(std::move(basePath)) {}

    static RegistryClassesTree ClassesRoot() { return {HKEY_CLASSES_ROOT, ""}; }
    static RegistryClassesTree UserClasses() { return {HKEY_CURRENT_USER, "Software\\Classes"}; }

    ClassesRead ReadDefault(const std::string& key, std::string& value) override;
    bool KeyExists(const std::string& key) override;
    bool WriteDefault(const std::string& key, const std::string& value) override;

private:
    std::string PathOf(const std::string& key) const;

    HKEY root_;
    std::string base_;
};

}  // namespace plyvane
