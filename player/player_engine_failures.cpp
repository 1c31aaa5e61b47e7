// Failures the engine met in its refresh context (the next file of a list
// that cannot be read, a device that stopped working) arrive as a posted
// command and are shown here, on the window's own thread.
#include "audio_engine.h"
#include "player_dialog.h"
#include "playback_commands.h"

namespace plyvane {

bool CPlayerDialog::OnEngineFailure(int id) {
    if (id != ID_PLAYBACK_FAILED) return false;
    engine_.ShowPendingFailures();
    // A device that stopped working stopped the playback with it; the
    // position stays where it was heard, and Play goes on from there.
    if (sourceOpen_ && !engine_.IsPlaying()) ShowPlayerState(PlayerState::kStopped);
    return true;
}

}  // namespace plyvane
