// Runs the windows under test on a thread of their own, as the player's
// thread would run them, while the test thread drives them with sent
// messages. The thread owns a window that records the commands posted to it
// (the main window's part).
#pragma once

#include <windows.h>

#include <functional>
#include <mutex>
#include <utility>
#include <vector>

namespace plyvane::testing {

struct PostedCommand {
    int id;
    LPARAM parameter;
    bool operator==(const PostedCommand& other) const {
        return id == other.id && parameter == other.parameter;
    }
};

class UiThread {
public:
    using Body = std::function<INT_PTR(HWND owner)>;

    UiThread() = default;
    ~UiThread();
    UiThread(const UiThread&) = delete;
    UiThread& operator=(const UiThread&) = delete;

    // Creates the owner window on a new thread and runs `body` there.
    void Start(Body body);
    // Waits until the body has returned and the commands it posted have
    // arrived; false after the timeout.
    bool Join(DWORD timeoutMs = 10000);
    bool Finished() const;
    INT_PTR Result() const { return result_; }

    std::vector<PostedCommand> Commands() const;
    void ClearCommands();

    // The top-level dialog window of the thread with this caption, waiting
    // for it; null when none came.
    HWND WaitForDialog(const char* caption, DWORD timeoutMs = 5000) const;

private:
    static DWORD WINAPI Run(void* self);
    static LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    Body body_;
    HANDLE thread_ = nullptr;
    DWORD threadId_ = 0;
    HANDLE ownerReady_ = nullptr;
    HWND owner_ = nullptr;
    INT_PTR result_ = -1;
    mutable std::mutex mutex_;
    std::vector<PostedCommand> commands_;
};

}  // namespace plyvane::testing
