// Edit playlist (1055, Alt+E): the playlist editor on the list the player
// has open; the list it hands back on OK is opened and played like any
// other playlist.
#include "engine_entry_prober.h"
#include "http_byte_source.h"
#include "player_dialog.h"
#include "playlist_editor.h"
#include "program_help.h"
#include "stream_file_props.h"

namespace plyvane {

void CPlayerDialog::OnPlaylistEditor() {
    // The editor learns durations through probes of its own, addresses
    // through a connection of its own; the stream that plays is not touched.
    HttpByteSource addressSource;
    EngineEntryProber prober(engine_, Handle(), &addressSource);
    const PlaylistEditorPorts ports{prober, PlatformFileSystem(), PlatformIniProfile(), &EditEntryProperties,
                                    &ShowProgramHelp};
    std::string edited;
    CPlaylistEditor editor(ports, playlist_.ListName(), &edited);
    if (editor.Run(Handle()) != IDOK || edited.empty()) return;
    playlist_.Release();
    OpenPlaylist(edited.c_str(), true);
}

}  // namespace plyvane
