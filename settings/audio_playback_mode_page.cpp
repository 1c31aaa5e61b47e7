#include "audio_playback_mode_page.h"

#include "resource_ids.h"

namespace plyvane {

namespace {
constexpr ChoiceButton kDivisors[] = {{IDC_RATIO_1_1, 1}, {IDC_RATIO_1_2, 2}, {IDC_RATIO_1_4, 4}};
constexpr ChoiceButton kQualities[] = {
    {IDC_QUALITY_BEST, 1}, {IDC_QUALITY_BETTER, 2}, {IDC_QUALITY_GOOD, 3},
    {IDC_QUALITY_REFERENCE, 0}};
}  // namespace

CAudioPlaybackMode::CAudioPlaybackMode(SharedPlaybackConfig& shared, CommandSink post)
    : PlaybackConfigPage(IDD_PAGE_PLAYBACK_MODE, "Playback Mode", shared, std::move(post)) {}

BOOL CAudioPlaybackMode::OnInitDialog() {
    ShowRecord();
    return TRUE;
}

void CAudioPlaybackMode::ShowRecord() {
    const OutputSettings& values = Record().Values();
    for (const ChoiceButton& choice : kDivisors) {
        ShowChoice(choice.control, values.FrequencyDivisor == choice.value,
                   Record().DivisorAllowed(choice.value));
    }
    for (const ChoiceButton& choice : kQualities) {
        ShowChoice(choice.control, values.Quality == choice.value,
                   Record().QualityAllowed(choice.value));
    }
}

void CAudioPlaybackMode::OnCommand(int id, int code, HWND control) {
    (void)control;
    if (code != BN_CLICKED) return;
    for (const ChoiceButton& choice : kDivisors) {
        if (choice.control == id) return AfterEdit(Record().SetFrequencyDivisor(choice.value));
    }
    for (const ChoiceButton& choice : kQualities) {
        if (choice.control == id) return AfterEdit(Record().SetQuality(choice.value));
    }
}

}  // namespace plyvane
