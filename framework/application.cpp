#include "application.h"

#include <commctrl.h>

namespace plyvane {

Application* Application::current_ = nullptr;

Application::Application() { current_ = this; }

Application::~Application() {
    if (current_ == this) current_ = nullptr;
}

int Application::Start(HINSTANCE instance, const char* commandLine) {
    instance_ = instance;
    commandLine_ = commandLine != nullptr ? commandLine : "";
    // Trackbars, tool tips and the rest of the common controls.
    INITCOMMONCONTROLSEX controls{sizeof controls,
                                  ICC_BAR_CLASSES | ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    return Run();
}

}  // namespace plyvane
