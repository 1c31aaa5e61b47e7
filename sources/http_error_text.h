// The texts of the HTTP session's error boxes.
#pragma once

#include <string>

namespace plyvane {

// The text for an error code of the HTTP client port (WinINet's numbers):
// "Connection timeout!" ... or "Error code %d returned!".
std::string HttpErrorText(int code);

}  // namespace plyvane
