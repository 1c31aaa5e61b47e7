// Internet streams in the main window: Open URL, addresses in OpenSource
// with the copy of "Download and save", the connection's progress window,
// failures of the stream reported from the refresh context, and the ICY
// stream title in the song line and the window title.
#include <cstdio>

#include "player_dialog.h"

#include "audio_engine.h"
#include "file_dialog.h"
#include "file_system.h"
#include "http_open_progress_window.h"
#include "message_box.h"
#include "player_list_host.h"
#include "playlist_file.h"
#include "resource_ids.h"
#include "settings_store.h"
#include "url_entry_dialog.h"

namespace plyvane {

namespace {

constexpr char kSaveFilter[] =
    "MPEG Audio Files (*.mp2;*.mp3;*.l2;*.l3)|*.mp2;*.mp3;*.l2;*.l3|Playlist Files (*.pls;*.m3u)|*.pls;*.m3u|"
    "All Files (*.*)|*.*|";
// "RecentURL" is read into this many characters.
constexpr std::size_t kRecentUrlSize = 513;

}  // namespace

void CPlayerDialog::ConnectInternetSources() {
    static_cast<EngineEntryProber&>(listHost_.Prober()).SetAddressSource(&httpProbeSource_);
}

ByteSource* PlayerListHost::AddressSource() {
    window_.PrepareHttpSource();
    return &window_.httpSource_;
}

std::string PlayerListHost::TemporaryFolder() { return PlatformFileSystem().TemporaryFolder(); }

void CPlayerDialog::PrepareHttpSource() {
    uiThread_ = ::GetCurrentThreadId();
    if (httpProgress_ == nullptr) httpProgress_ = std::make_unique<HttpOpenProgressWindow>(Handle());
    httpSource_.SetProgress(httpProgress_.get());
    httpSource_.SetErrorReporter([this](const std::string& text) { ReportHttpFailure(text); });
}

void CPlayerDialog::ReportHttpFailure(const std::string& text) {
    if (::GetCurrentThreadId() == uiThread_) {
        ShowError(nullptr, "%s", text.c_str());
        return;
    }
    // A box raised in the refresh context could wait for a window thread
    // that waits for the refresh context to stop: the window shows it.
    {
        std::lock_guard<std::mutex> lock(httpFailuresMutex_);
        httpFailures_.push_back(text);
    }
    ::PostMessageA(Handle(), WM_HTTP_FAILURE, 0, 0);
}

void CPlayerDialog::ShowHttpFailures() {
    std::vector<std::string> failures;
    {
        std::lock_guard<std::mutex> lock(httpFailuresMutex_);
        failures.swap(httpFailures_);
    }
    for (const std::string& text : failures) ShowError(nullptr, "%s", text.c_str());
}

std::FILE* CPlayerDialog::ChooseStreamCopy() {
    char name[MAX_PATH] = "";
    FileDialogRequest request;
    request.owner = Handle();
    request.filter = kSaveFilter;
    request.defaultExtension = "mp2";
    request.flags = OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY;
    if (!ChooseSaveFile(request, name, sizeof name)) return nullptr;
    std::FILE* file = std::fopen(name, "wb");
    if (file == nullptr) ShowError(Handle(), "Cannot create the file %s!", name);
    return file;
}

bool CPlayerDialog::OpenAddress(bool askToSave) {
    PrepareHttpSource();
    uint32_t playAndSave = 0;
    ReadDwordSetting(kConfigurationKey, "PlayAndSave", playAndSave);
    if (playAndSave == 1 && askToSave) {
        if (std::FILE* copy = ChooseStreamCopy()) httpSource_.AttachSaveFile(copy);
    }
    shownStreamTitle_ = httpSource_.StreamTitleVersion();
    return engine_.OpenPlayback(Handle(), currentName_, &httpSource_, 1000) != 0;
}

void CPlayerDialog::OnOpenUrl() {
    keyboardOrigin_ = false;
    // Up to 512 characters, beyond the store's usual 127.
    std::string recent;
    CurrentSettingsStore().ReadString(kConfigurationKey, "RecentURL", recent);
    if (recent.size() >= kRecentUrlSize) recent.clear();
    CUrlEntryDialog dialog(recent);
    if (dialog.Show(Handle()) != IDOK) return;
    const std::string address = dialog.Url();
    playlist_.Release();
    // A playlist on the internet is downloaded and played as a list.
    if (PlaylistKindOf(address) != PlaylistKind::kNone) {
        PrepareHttpSource();
        if (playlist_.LoadPlaylist(address)) {
            WriteStringSetting(kConfigurationKey, "RecentURL", address.c_str());
            playlist_.PlayFirstEntry(true);
            return;
        }
    }
    ShowOneTrack();
    if (OpenSource(address.c_str(), true)) WriteStringSetting(kConfigurationKey, "RecentURL", address.c_str());
    StartOrResume();
}

std::string CPlayerDialog::ShownStreamTitle() const {
    return playingAddress_ ? httpSource_.StreamTitle() : std::string();
}

void CPlayerDialog::ShowStreamTitleIfChanged() {
    if (!playingAddress_ || httpSource_.StreamTitleVersion() == shownStreamTitle_) return;
    shownStreamTitle_ = httpSource_.StreamTitleVersion();
    ::SetDlgItemTextA(Handle(), IDC_SONG_NAME, httpSource_.StreamTitle().c_str());
    ShowPlayerState(engine_.IsPaused() ? PlayerState::kPaused
                    : engine_.IsPlaying() ? PlayerState::kPlaying : PlayerState::kStopped);
}

}  // namespace plyvane
