// How the property pages tell the main window what they stored: commands
// posted to it (WM_COMMAND with no source control, the parameter in lParam).
#pragma once

#include <cstdint>
#include <functional>

#include "resource_ids.h"

namespace plyvane {

using CommandSink = std::function<void(int command, intptr_t parameter)>;

}  // namespace plyvane
