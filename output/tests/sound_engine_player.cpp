// Plays a stream through the engine as the Windows player does: the WINMM
// device, the multimedia timer, and notifications posted as WM_COMMAND to a
// window whose message loop ends at ID_PLAYBACK_ENDED. The real-sound test
// records what it plays.
//
//   sound_engine_player FILE METHOD     (METHOD 1 Timer, 2 Thread, 3 Device)
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "audio_engine.h"
#include "file_byte_source.h"
#include "memory_settings_store.h"
#include "output_settings.h"
#include "platform_ports.h"
#include "settings_store.h"

namespace {

int positions = 0;
int nextFiles = 0;
bool ended = false;

constexpr UINT_PTR kGiveUpTimer = 1;

LRESULT CALLBACK PlayerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) {
        const auto* info = reinterpret_cast<const plyvane::PlaybackInfo*>(lParam);
        switch (LOWORD(wParam)) {
            case ID_PLAYBACK_POSITION:
                ++positions;
                std::printf("position %.0f ms of %.0f\n", info->position, info->length);
                break;
            case ID_PLAYBACK_NEXTFILE: ++nextFiles; break;
            case ID_PLAYBACK_ENDED:
                ended = true;
                PostQuitMessage(0);
                break;
            default: break;
        }
        return 0;
    }
    if (message == WM_TIMER && wParam == kGiveUpTimer) {
        PostQuitMessage(1);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

class ConsoleMessageBox : public plyvane::MessageBoxPort {
public:
    plyvane::MessageAnswer Show(plyvane::WindowHandle, const char* caption, const char* text,
                                plyvane::MessageButtons, plyvane::MessageIcon) override {
        std::fprintf(stderr, "%s: %s\n", caption, text);
        return plyvane::MessageAnswer::kOk;
    }
};

}  // namespace

int main(int argc, char** argv) {
    using namespace plyvane;
    if (argc != 3) {
        std::fprintf(stderr, "usage: sound_engine_player FILE METHOD\n");
        return 2;
    }
    const int method = std::atoi(argv[2]);
    MemorySettingsStore store;
    ScopedSettingsStore installedStore(store);
    ConsoleMessageBox boxes;
    ScopedMessageBox installedBoxes(boxes);
    SetOutputSettingsKey(kConfigurationKey);
    WriteOutputSettings(1, 2, 2, 16, 4, 16, method, kWaveMapper);

    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = PlayerWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "PlyvaneSoundTest";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowA("PlyvaneSoundTest", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                windowClass.hInstance, nullptr);
    if (window == nullptr) {
        std::fprintf(stderr, "no window\n");
        return 1;
    }

    PlatformPlaybackPorts ports = MakePlatformPlaybackPorts();
    FileByteSource source;
    int result = 1;
    {
        AudioEngine engine(ports.Ports(PlatformNotifications()));
        if (engine.OpenPlayback(window, argv[1], &source, 1000) && engine.StartPlayback()) {
            SetTimer(window, kGiveUpTimer, 60000, nullptr);
            MSG message;
            while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
            result = ended && positions > 0 ? 0 : 1;
        }
        engine.StopPlayback(true);
        engine.ClosePlayback();
    }
    std::printf("method %d: %d positions, %d next files, %s\n", method, positions, nextFiles,
                ended ? "ended" : "did not end");
    DestroyWindow(window);
    return result;
}
