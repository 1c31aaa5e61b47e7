// The stream file properties from the main window: Properties in the track
// list's menu for the selected track, and a double click in the stream
// information's frame for the current entry. The sheet shows; what the
// user moves on its spins is not stored (the player's entries come from
// the playlist file; the editor is where they are changed).
#include "player_dialog.h"

#include "audio_engine.h"
#include "playlist_entry.h"
#include "resource_ids.h"
#include "stream_file_props.h"
#include "stream_probe.h"

namespace plyvane {

std::string CPlayerDialog::CurrentEntryRecord() {
    if (playlist_.IsActive()) return playlist_.EntryRecord(playlist_.CurrentIndex());
    // Without a list the current name is read as an entry record.
    return currentName_;
}

std::string CPlayerDialog::SelectedEntryRecord() {
    if (!playlist_.IsActive()) return currentName_;  // the track list's one line
    const LRESULT selected = ::SendMessageA(Item(IDC_TRACK_LIST), LB_GETCURSEL, 0, 0);
    return selected == LB_ERR ? std::string() : playlist_.EntryRecord(static_cast<int>(selected) + 1);
}

void CPlayerDialog::ShowStreamProperties(const std::string& record) {
    // Nothing opened yet and no recent file, or no line chosen: nothing to
    // describe.
    if (EntryField(record, kEntryPath).empty()) return;
    StreamProbe probe(engine_, MakeSheetAddressSource);
    ShowStreamFileProps(Handle(), record, probe);
}

}  // namespace plyvane
