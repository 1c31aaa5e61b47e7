// What the three audio pages (Audio Device, Playback Mode, Buffers) share:
// the output configuration record the sheet owns, shown on each of them, and
// its apply, reset and sibling-query steps.
#pragma once

#include "playback_config.h"
#include "posted_commands.h"
#include "property_sheet.h"

namespace plyvane {

// The record and whether it differs from what is stored. One flag for the
// three pages: the record is one, so one apply stores it and posts one
// restart of the output, however many of the pages changed it.
struct SharedPlaybackConfig {
    explicit SharedPlaybackConfig(CPlaybackConfig& config) : record(config) {}
    CPlaybackConfig& record;
    bool changed = false;
};

// A radio button of an audio page and the record's value it stands for.
struct ChoiceButton {
    int control;
    int32_t value;
};

class PlaybackConfigPage : public PropertyPage {
public:
    PlaybackConfigPage(int templateId, const char* title, SharedPlaybackConfig& shared,
                       CommandSink post)
        : PropertyPage(templateId, title), shared_(shared), post_(std::move(post)) {}

protected:
    CPlaybackConfig& Record() { return shared_.record; }

    // Shows the record's values and availability on this page.
    virtual void ShowRecord() = 0;

    // After a setter of the record: a reported change is noted; this page and
    // the others show the record again; the page is marked changed.
    void AfterEdit(int setterResult);

    // Stores the record and asks the main window to restart its output, when
    // it changed.
    bool OnApply() override;
    // Reads the stored record back and shows it everywhere.
    void OnReset() override;
    LRESULT OnQuerySiblings(WPARAM code, PropertyPage* sender) override;

    // A choice as the audio pages draw it: checked when it is the record's
    // value, pushed when the record marks it unavailable.
    void ShowChoice(int control, bool checked, bool available);

    SharedPlaybackConfig& Shared() { return shared_; }

private:
    SharedPlaybackConfig& shared_;
    CommandSink post_;
};

}  // namespace plyvane
