#include "file_types.h"

namespace plyvane {

namespace {
std::string Quoted(const std::string& text) { return "\"" + text + "\""; }
}  // namespace

std::string PlayCommandFor(const std::string& programPath) {
    return Quoted(programPath) + " /play \"%1\"";
}

std::string OpenCommandFor(const std::string& programPath) {
    return Quoted(programPath) + " \"%1\"";
}

std::string IconFor(const std::string& programPath, int iconIndex) {
    return Quoted(programPath) + "," + std::to_string(iconIndex);
}

std::string LegacyPlayCommandFor(const std::string& programPath) {
    return programPath + " /play %1";
}

std::string LegacyOpenCommandFor(const std::string& programPath) { return programPath + " %1"; }

std::string LegacyIconFor(const std::string& programPath, int iconIndex) {
    return programPath + ", " + std::to_string(iconIndex);
}

std::vector<ClassesEntry> TypeKeyTree(const FileType& type, const std::string& programPath) {
    const std::string root = type.progId;
    return {
        {root, type.description},
        {root + "\\DefaultIcon", IconFor(programPath, type.iconIndex)},
        {root + "\\shell", "play"},
        {root + "\\shell\\play", "Play"},
        {root + "\\shell\\play\\command", PlayCommandFor(programPath)},
        {root + "\\shell\\open", "Open"},
        {root + "\\shell\\open\\command", OpenCommandFor(programPath)},
    };
}

}  // namespace plyvane
