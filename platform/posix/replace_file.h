// Replacing a file's content in one step on POSIX systems: the bytes go to a
// new file beside it, which is synced and renamed over it, so a reader (or a
// crash) sees the old file or the new one, never a mix.
#pragma once

#include <string>
#include <string_view>

namespace plyvane {

// The new file keeps the old one's permissions (0644 for a new one). False
// when any step fails, or `path` is there but not a regular file; then the
// old file is as it was and no temporary file is left.
bool ReplaceFileContents(const std::string& path, std::string_view bytes);

}  // namespace plyvane
