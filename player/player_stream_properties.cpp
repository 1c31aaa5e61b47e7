// The stream file properties from the main window: Properties in the track
// list's menu for the selected track, and a double click in the stream
// information's frame for the current entry. The sheet shows; what the
// user moves on its spins is not stored (the player's entries come from
// the playlist file; the editor is where they are changed).
#include "player_dialog.h"

#include "audio_engine.h"
#include "playlist_entry.h"
#include "stream_file_props.h"
#include "stream_probe.h"

namespace plyvane {

std::string CPlayerDialog::CurrentEntryRecord() {
    // Without a list the current name is read as an entry record.
    return currentName_;
}

std::string CPlayerDialog::SelectedEntryRecord() {
    // Without a list the track list's one line is the current name.
    return currentName_;
}

void CPlayerDialog::ShowStreamProperties(const std::string& record) {
    // Nothing opened yet and no recent file: nothing to describe.
    if (EntryField(record, kEntryPath).empty()) return;
    StreamProbe probe(engine_);
    ShowStreamFileProps(Handle(), record, probe);
}

}  // namespace plyvane
