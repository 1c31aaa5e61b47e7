#include "controls_settings.h"

#include "settings_store.h"

namespace plyvane {

ControlsSettings ReadControlsSettings() {
    uint32_t taskBar = 1, scrollCaption = 1;
    int32_t dialogState = 0;
    ReadDwordSetting(kConfigurationKey, "TaskBar", taskBar);
    ReadDwordSetting(kConfigurationKey, "ScrollCaption", scrollCaption);
    ReadDwordSetting(kConfigurationKey, "DialogState", dialogState);
    ControlsSettings settings;
    settings.taskBar = taskBar != 0;
    settings.scrollCaption = scrollCaption != 0;
    settings.dialogState = dialogState >= 0 && dialogState < kDialogSizeCount ? dialogState : 0;
    return settings;
}

void ApplyControlsSettings(const ControlsSettings& settings, const CommandSink& post) {
    WriteDwordSetting(kConfigurationKey, "TaskBar", settings.taskBar ? 1 : 0);
    WriteDwordSetting(kConfigurationKey, "ScrollCaption", settings.scrollCaption ? 1 : 0);
    WriteDwordSetting(kConfigurationKey, "DialogState",
                      static_cast<uint32_t>(settings.dialogState));
    if (!post) return;
    post(settings.taskBar ? ID_TASKBAR_CONTROLS_ON : ID_TASKBAR_CONTROLS_OFF, 0);
    post(settings.scrollCaption ? ID_SCROLL_CAPTION_ON : ID_SCROLL_CAPTION_OFF, 0);
    post(ID_SET_DIALOG_STATE, settings.dialogState);
}

}  // namespace plyvane
