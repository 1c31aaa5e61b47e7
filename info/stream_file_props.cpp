#include "stream_file_props.h"

#include "platform_ports.h"

namespace plyvane {

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
    StreamProbe probe(TheAudioEngine());
    CStreamFileProps sheet(edited, probe, true);
    if (sheet.DoModal(owner) != IDOK) return false;
    entry = edited;
    return true;
}

}  // namespace plyvane
