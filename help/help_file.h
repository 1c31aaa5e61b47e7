// Where the help document is: an HTML page that ships beside the executable
// (the installer and the zip put it there; the build copies it beside the
// programs of the build tree).
#pragma once

#include <functional>
#include <string>

namespace plyvane {

inline constexpr char kHelpFileName[] = "plyvane.html";

// The help beside the program whose full path is `modulePath` (as
// GetModuleFileNameA gives it; "\" or "/" separate its folders). Empty when
// the path names no folder or `exists` does not find the file there, so that
// the caller can fall back to its short help box.
std::string FindHelpFile(const std::string& modulePath,
                         const std::function<bool(const std::string&)>& exists);

}  // namespace plyvane
