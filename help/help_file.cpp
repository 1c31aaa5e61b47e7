#include "help_file.h"

namespace plyvane {

std::string FindHelpFile(const std::string& modulePath,
                         const std::function<bool(const std::string&)>& exists) {
    // A name without a folder would make it the current folder's help.
    size_t separator = modulePath.find_last_of("\\/");
    if (separator == std::string::npos) return std::string();
    std::string help = modulePath.substr(0, separator + 1) + kHelpFileName;
    return exists(help) ? help : std::string();
}

}  // namespace plyvane
