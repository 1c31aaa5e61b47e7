// A playlist named by an address is read from a local copy: the download
// goes through the same byte source that plays addresses, into the
// temporary folder, under the address's last path segment.
#pragma once

#include <string>
#include <string_view>

#include "byte_source.h"

namespace plyvane {

// The file name of the copy: the part after the last "/" without a query or
// fragment, with characters no file name may hold (and so no way into
// another folder) replaced by "_"; "playlist" when nothing is left. It keeps
// the kind of list the address names, so the copy reads the same way.
std::string DownloadNameOf(std::string_view address);

// Copies the stream `address` from `source` to temporaryFolder + the
// download name and returns that path, or an empty text when the source
// cannot be opened, the copy cannot be written or the stream is longer than
// any list (then no partial copy is left behind).
std::string DownloadPlaylist(ByteSource& source, const std::string& address,
                             const std::string& temporaryFolder);

}  // namespace plyvane
