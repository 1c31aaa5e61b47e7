#include "shell_classes.h"

namespace plyvane {

ClassesRead ShellClasses::ReadDefault(const std::string& key, std::string& value) {
    if (user_.KeyExists(key)) return user_.ReadDefault(key, value);
    return root_.ReadDefault(key, value);
}

bool ShellClasses::KeyExists(const std::string& key) {
    return user_.KeyExists(key) || root_.KeyExists(key);
}

bool ShellClasses::WriteDefault(const std::string& key, const std::string& value) {
    if (!rootRefused_ && !user_.KeyExists(key)) {
        if (root_.WriteDefault(key, value)) return true;
        rootRefused_ = true;
    }
    return user_.WriteDefault(key, value);
}

}  // namespace plyvane
