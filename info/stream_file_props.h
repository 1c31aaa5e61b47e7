// CStreamFileProps: the sheet "Stream file properties" for one playlist
// entry, with the pages "ID3 Tag", "Properties" and "MPEG statistics". The
// player opens it to show its current or selected entry; the playlist
// editor opens it to edit one (EditEntryProperties).
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "file_id3_page.h"
#include "property_sheet.h"
#include "stream_probe.h"
#include "stream_properties_page.h"
#include "stream_statistics_page.h"

namespace plyvane {

inline constexpr char kStreamPropertiesCaption[] = "Stream file properties";

class CStreamFileProps : public PropertySheet {
public:
    // `entry` and `probe` outlive the sheet. With `writeBack`, OK writes the
    // volume preset and playback duration the spins moved into `entry`.
    CStreamFileProps(std::string& entry, StreamProbe& probe, bool writeBack);

private:
    CFileID3 tag_;
    CStreamProperties properties_;
    CStreamProperties2 statistics_;
};

// The source through which the sheet reads an address: an HTTP source of
// its own, with its progress window and error boxes over `owner`.
std::unique_ptr<ByteSource> MakeSheetAddressSource(WindowHandle owner);

// Shows the entry's properties modally over `owner`; nothing is stored.
void ShowStreamFileProps(HWND owner, const std::string& entry, StreamProbe& probe);

// The playlist editor's Properties: the sheet on a copy of `entry`, which
// replaces `entry` when the sheet ends with OK (true); Cancel leaves it as it
// was (false). Probes through the program's engine.
bool EditEntryProperties(HWND owner, std::string& entry);

}  // namespace plyvane
