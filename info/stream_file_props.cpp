#include "stream_file_props.h"

#include "http_byte_source.h"
#include "http_open_progress_window.h"
#include "message_box.h"
#include "platform_ports.h"

namespace plyvane {

namespace {
// The sheet's HTTP source and the progress window it shows, owned together.
class SheetHttpSource : public HttpByteSource {
public:
    explicit SheetHttpSource(HWND owner) : progress_(owner) {
        SetProgress(&progress_);
        SetErrorReporter([owner](const std::string& text) { ShowError(owner, "%s", text.c_str()); });
    }
    ~SheetHttpSource() override { SetProgress(nullptr); }

private:
    HttpOpenProgressWindow progress_;
};
}  // namespace

std::unique_ptr<ByteSource> MakeSheetAddressSource(WindowHandle owner) {
    return std::make_unique<SheetHttpSource>(static_cast<HWND>(owner));
}

CStreamFileProps::CStreamFileProps(std::string& entry, StreamProbe& probe, bool writeBack)
    : PropertySheet(kStreamPropertiesCaption),
      tag_(entry),
      properties_(entry, probe, writeBack),
      statistics_(entry, probe) {
    AddPage(tag_);
    AddPage(properties_);
    AddPage(statistics_);
}

void ShowStreamFileProps(HWND owner, const std::string& entry, StreamProbe& probe) {
    std::string shown = entry;
    CStreamFileProps sheet(shown, probe, false);
    sheet.DoModal(owner);
}

bool EditEntryProperties(HWND owner, std::string& entry) {
    std::string edited = entry;
    StreamProbe probe(TheAudioEngine(), MakeSheetAddressSource);
    CStreamFileProps sheet(edited, probe, true);
    if (sheet.DoModal(owner) != IDOK) return false;
    entry = edited;
    return true;
}

}  // namespace plyvane
