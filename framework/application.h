// The application object: one per process, started from WinMain. It knows
// its module and runs its main window; when Run returns the process ends.
#pragma once

#include <windows.h>

namespace plyvane {

class Application {
public:
    Application();
    virtual ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    static Application* Current() { return current_; }

    HINSTANCE Instance() const { return instance_; }
    const char* CommandLine() const { return commandLine_; }
    HWND MainWindow() const { return mainWindow_; }
    void SetMainWindow(HWND window) { mainWindow_ = window; }

    // Sets up the application and runs its main window; the result is the
    // process exit code.
    virtual int Run() = 0;

    // Called by WinMain: the arguments of the process after its own name.
    int Start(HINSTANCE instance, const char* commandLine);

private:
    static Application* current_;
    HINSTANCE instance_ = nullptr;
    const char* commandLine_ = "";
    HWND mainWindow_ = nullptr;
};

}  // namespace plyvane
