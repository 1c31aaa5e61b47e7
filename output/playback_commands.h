/* The commands the engine posts to the player window (WM_COMMAND, command id
   in wParam, the engine's PlaybackInfo in lParam). Plain defines, so the
   resource compiler can read this header too. */
#pragma once

#define ID_PLAYBACK_NEXTFILE 17183 /* the next file of a continuous source is heard */
#define ID_PLAYBACK_POSITION 17184 /* the position field is up to date */
#define ID_PLAYBACK_ENDED 17185    /* the ring drained after the end of the stream */
#define ID_PLAYBACK_FAILED 17186   /* failures wait to be shown (AudioEngine::ShowPendingFailures) */
