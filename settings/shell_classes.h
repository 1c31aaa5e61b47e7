// The file-type keys as the shell sees them: the current user's
// Software\Classes over the classes root. A key the user's tree holds wins
// (as Windows NT merges the two); the rest comes from the classes root.
//
// Writing goes where the shell will look: to the user's key when it exists,
// else to the classes root. A user without administrator rights may not
// write the classes root; from the first refusal on, everything is written to
// the user's tree instead, so one registration never ends up split.
#pragma once

#include <string>

#include "classes_tree.h"

namespace plyvane {

class ShellClasses {
public:
    ShellClasses(ClassesTree& classesRoot, ClassesTree& userClasses)
        : root_(classesRoot), user_(userClasses) {}

    ClassesRead ReadDefault(const std::string& key, std::string& value);
    bool KeyExists(const std::string& key);
    // True only when the value was stored in one of the two trees.
    bool WriteDefault(const std::string& key, const std::string& value);

    // The classes root refused a write, so the user's tree took it.
    bool RootRefused() const { return rootRefused_; }

private:
    ClassesTree& root_;
    ClassesTree& user_;
    bool rootRefused_ = false;
};

}  // namespace plyvane
