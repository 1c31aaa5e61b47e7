// What an open dialog that lets the user choose several files hands back:
// one full path, or the folder followed by the chosen names, each ended by
// a zero and the whole by a second zero.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace plyvane {

// The full paths of the chosen files, read from `buffer` (at most `size`
// bytes; a selection that is not terminated inside it yields what is).
std::vector<std::string> SplitFileSelection(const char* buffer, std::size_t size);

}  // namespace plyvane
