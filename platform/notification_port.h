// The notification port: how the engine tells the player window what
// happened. On Windows a posted WM_COMMAND (command id in wParam, the record
// in lParam); natively and in tests a queue.
#pragma once

#include <cstdint>

#include "message_box.h"

namespace plyvane {

class NotificationPort {
public:
    virtual ~NotificationPort() = default;
    // Posted, never sent: returns at once. False when it could not be posted.
    // Must not allocate: it is called from the refill step.
    virtual bool Post(WindowHandle window, uint32_t commandId, const void* record) = 0;
};

}  // namespace plyvane
