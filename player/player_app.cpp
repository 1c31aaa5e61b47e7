#include "player_app.h"

#include <windows.h>

#include <cstring>
#include <vector>

#include "platform_ports.h"
#include "command_line.h"
#include "player_dialog.h"
#include "resource_ids.h"
#include "tray_icons.h"
#include "version_check.h"

namespace plyvane {

void CPlayerApp::ReadVersion() {
    versionString_ = kNoVersion;
    // The version resource of the running file itself.
    DWORD ignored = 0;
    DWORD size = ::GetFileVersionInfoSizeA(modulePath_, &ignored);
    if (size != 0) {
        std::vector<char> block(size);
        void* value = nullptr;
        UINT length = 0;
        if (::GetFileVersionInfoA(modulePath_, 0, size, block.data()) &&
            ::VerQueryValueA(block.data(), "\\StringFileInfo\\000004b0\\ProductVersion", &value,
                             &length) &&
            value != nullptr && length > 0) {
            std::string text(static_cast<const char*>(value),
                             strnlen(static_cast<const char*>(value), length));
            versionString_ = VersionFromResourceText(text.c_str());
        }
    }
    MajorMinorOf(versionString_, major_, minor_);
}

int CPlayerApp::Run() {
    DWORD length = ::GetModuleFileNameA(nullptr, modulePath_, sizeof modulePath_);
    if (length >= sizeof modulePath_) modulePath_[sizeof modulePath_ - 1] = '\0';
    const char* lastSlash = std::strrchr(modulePath_, '\\');
    moduleFolder_ = lastSlash != nullptr
                        ? std::string(modulePath_, static_cast<size_t>(lastSlash + 1 - modulePath_))
                        : std::string();
    ReadVersion();
    TrayIcons::InstallRecorderFromEnvironment();

    // The arguments as the program's own path delimits them, so that the
    // unquoted verbs of earlier versions still hand over the file name.
    CPlayerDialog dialog(TheAudioEngine(), ArgumentsAfterProgram(::GetCommandLineA(), modulePath_),
                         versionString_.c_str());
    dialog.RunModalLoop(nullptr);
    return 0;
}

}  // namespace plyvane
