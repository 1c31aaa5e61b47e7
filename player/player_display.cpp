// The main window's displays: track and list times, the position slider and
// its scale, the song name, the stream lines and the caption scroller.
#include <windows.h>
#include <commctrl.h>

#include "audio_engine.h"
#include "player_dialog.h"
#include "position_scale.h"
#include "resource_ids.h"
#include "settings_store.h"
#include "text.h"

namespace plyvane {

std::string CPlayerDialog::CurrentName() {
    // A radio's current song first; lists name their current line (none
    // before the first entry); a single source its title, and nothing once an
    // open failed.
    std::string streamTitle = ShownStreamTitle();
    if (!streamTitle.empty()) return streamTitle;
    if (playlist_.IsActive() && playlist_.Queue().Count() > 0) {
        return playlist_.TrackLine(playlist_.CurrentIndex());
    }
    return sourceOpen_ ? engine_.GetPlaybackInfo().title : std::string();
}

void CPlayerDialog::UpdateTimeDisplays(uint32_t position) {
    timeText_ = FormatTrackTime(position, trackTotal_, remainingTime_);
    if (!::IsIconic(Handle())) {
        ::SetDlgItemTextA(Handle(), IDC_TIME, timeText_.c_str());
    } else if (!scrollCaption_) {
        ::SetWindowTextA(Handle(), (title_ + " " + timeText_).c_str());
    }
    ::SetDlgItemTextA(Handle(), IDC_LIST_TIME,
                      FormatListTime(listTotal_, listPlayed_, position, remainingListTime_).c_str());
}

void CPlayerDialog::SetupPositionSlider(const PlaybackInfo& info) {
    positionSlider_.SetTrackLength(info.length);
    trackTotal_ = TrackMilliseconds(info.length);
    ::SetDlgItemTextA(Handle(), IDC_SCALE_END,
                      FormatScaleTime(static_cast<int>(trackTotal_)).c_str());
    ::SetDlgItemTextA(Handle(), IDC_SCALE_START, "0:00min");

    char description[256];
    CopyText(description, info.description);
    ::OemToCharA(description, description);
    ::SetDlgItemTextA(Handle(), IDC_SONG_NAME, SongNameText(CurrentName(), description).c_str());
    ShowStreamParameters(info);
}

void CPlayerDialog::ShowStreamParameters(const PlaybackInfo& info) {
    OutputParameters output{info.outputSampleRate, info.outputBits, info.outputChannels,
                            info.quality};
    SourceParameters source{info.version,        info.layer,
                            info.streamSampleRate, info.streamChannels,
                            info.bitratePerChannel, info.compressionRatio};
    ::SetDlgItemTextA(Handle(), IDC_OUTPUT_PARAMETERS, FormatOutputParameters(output).c_str());
    ::SetDlgItemTextA(Handle(), IDC_SOURCE_PARAMETERS, FormatSourceParameters(source).c_str());
}

void CPlayerDialog::SetTimeMode(int id) {
    remainingTime_ = id == IDC_REMAINING;
    SetPushed(Item(IDC_ELAPSED), !remainingTime_);
    SetPushed(Item(IDC_REMAINING), remainingTime_);
    ::SetDlgItemTextA(Handle(), IDC_TIME_LABEL,
                      remainingTime_ ? "Remaining time:" : "Elapsed time:");
    PlaybackInfo info = EngineInfo();
    UpdateTimeDisplays(sourceOpen_ && info.position > 0 ? static_cast<uint32_t>(info.position) : 0);
    WriteDwordSetting(kConfigurationKey, "TimeDisplay", remainingTime_ ? 1 : 0);
}

void CPlayerDialog::SetListTimeMode(int id) {
    remainingListTime_ = id == IDC_LIST_REMAINING;
    SetPushed(Item(IDC_LIST_ELAPSED), !remainingListTime_);
    SetPushed(Item(IDC_LIST_REMAINING), remainingListTime_);
    ::SetDlgItemTextA(Handle(), IDC_LIST_TIME_LABEL,
                      remainingListTime_ ? "Total rem. time:" : "Total elap. time:");
    PlaybackInfo info = EngineInfo();
    UpdateTimeDisplays(sourceOpen_ && info.position > 0 ? static_cast<uint32_t>(info.position) : 0);
    WriteDwordSetting(kConfigurationKey, "TotalTimeDisplay", remainingListTime_ ? 1 : 0);
}

void CPlayerDialog::ShowOneTrack() {
    // One track: no list times, and layout 0 keeps the narrow window.
    listTotal_ = 0;
    listPlayed_ = 0;
    ::SetDlgItemTextA(Handle(), IDC_TRACK, "1 ");
    ::SetDlgItemTextA(Handle(), IDC_TOTAL_TRACKS, "1 ");
    ::SetDlgItemTextA(Handle(), IDC_TO_GO, "0 ");
    ::SetDlgItemTextA(Handle(), IDC_LIST_TOTAL_TIME, "");
    if (layout_ == DialogState::kLarge) SetNarrowWidth(true);
}

void CPlayerDialog::OnCaptionTimer() {
    if (!::IsIconic(Handle()) || !scrollCaption_) {
        scrollOffset_ = 0;
        return;
    }
    if (title_.empty()) return;
    std::string text = title_ + " " + timeText_;
    HDC dc = ::GetWindowDC(Handle());
    SIZE extent{};
    ::GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    ::ReleaseDC(Handle(), dc);
    RECT window{};
    ::GetWindowRect(Handle(), &window);
    if (extent.cx > window.right - window.left) {
        text += " +++ ";
        scrollOffset_ = (scrollOffset_ + 1) % text.size();
        ::SetWindowTextA(Handle(), RotateText(text, scrollOffset_).c_str());
    } else {
        ::SetWindowTextA(Handle(), text.c_str());
    }
}

}  // namespace plyvane
