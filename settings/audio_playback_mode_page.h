// The "Playback Mode" page (CAudioPlaybackMode): the frequency divisor and the
// synthesis quality. Each choice is a row of a table, so a further quality
// level is one row here and one button in the page's template.
#pragma once

#include "playback_config_page.h"

namespace plyvane {

class CAudioPlaybackMode : public PlaybackConfigPage {
public:
    CAudioPlaybackMode(SharedPlaybackConfig& shared, CommandSink post);

protected:
    BOOL OnInitDialog() override;
    void OnCommand(int id, int code, HWND control) override;
    void ShowRecord() override;
};

}  // namespace plyvane
