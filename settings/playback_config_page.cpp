#include "playback_config_page.h"

#include "bitmap_button.h"

namespace plyvane {

namespace {
// The sibling query of the audio pages: show the record again.
constexpr WPARAM kShowRecord = 1;
}  // namespace

void PlaybackConfigPage::AfterEdit(int setterResult) {
    if (setterResult != 0) shared_.changed = true;
    ShowRecord();
    QuerySiblings(kShowRecord);
    if (Initialised()) SetModified(true);
}

bool PlaybackConfigPage::OnApply() {
    if (shared_.changed) {
        shared_.record.SaveConfig();
        if (post_) post_(ID_RESTART_OUTPUT, 0);
        shared_.changed = false;
    }
    return true;
}

void PlaybackConfigPage::OnReset() {
    shared_.record.ReloadConfig();
    shared_.changed = false;
    ShowRecord();
    QuerySiblings(kShowRecord);
}

LRESULT PlaybackConfigPage::OnQuerySiblings(WPARAM code, PropertyPage* sender) {
    (void)sender;
    if (code == kShowRecord) ShowRecord();
    return 0;
}

void PlaybackConfigPage::ShowChoice(int control, bool checked, bool available) {
    ::CheckDlgButton(Handle(), control, checked ? BST_CHECKED : BST_UNCHECKED);
    SetPushed(Item(control), !available);
}

}  // namespace plyvane
