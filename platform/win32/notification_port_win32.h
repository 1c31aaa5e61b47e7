// Notifications on Windows: WM_COMMAND posted to the player window with the
// command id in wParam and the record in lParam.
#pragma once

#include "notification_port.h"

namespace plyvane {

class PostMessageNotifications : public NotificationPort {
public:
    bool Post(WindowHandle window, uint32_t commandId, const void* record) override;
};

}  // namespace plyvane
