// plyvane.exe: the player's entry point.
#include <windows.h>

#include "player_app.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    plyvane::CPlayerApp app;
    return app.Start(instance, commandLine);
}
