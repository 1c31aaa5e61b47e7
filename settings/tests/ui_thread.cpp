#include "ui_thread.h"

#include <cstring>
#include <string>

#include "window_driver.h"

namespace plyvane::testing {

namespace {
constexpr char kOwnerClass[] = "PlyvaneTestOwner";
}  // namespace

UiThread::~UiThread() {
    if (thread_ == nullptr) return;
    if (!Finished() && owner_ != nullptr) {
        // Whatever is still open: end the thread's loops.
        ::PostThreadMessageA(threadId_, WM_QUIT, 0, 0);
    }
    ::WaitForSingleObject(thread_, 5000);
    ::CloseHandle(thread_);
    if (ownerReady_ != nullptr) ::CloseHandle(ownerReady_);
}

void UiThread::Start(Body body) {
    body_ = std::move(body);
    ownerReady_ = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    thread_ = ::CreateThread(nullptr, 0, &UiThread::Run, this, 0, &threadId_);
    ::WaitForSingleObject(ownerReady_, 5000);
}

bool UiThread::Join(DWORD timeoutMs) {
    return thread_ != nullptr && ::WaitForSingleObject(thread_, timeoutMs) == WAIT_OBJECT_0;
}

bool UiThread::Finished() const {
    return thread_ != nullptr && ::WaitForSingleObject(thread_, 0) == WAIT_OBJECT_0;
}

std::vector<PostedCommand> UiThread::Commands() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return commands_;
}

void UiThread::ClearCommands() {
    std::lock_guard<std::mutex> lock(mutex_);
    commands_.clear();
}

namespace {
struct DialogSearch {
    const char* caption;
    HWND found;
};

BOOL CALLBACK FindDialog(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<DialogSearch*>(parameter);
    char className[32] = "";
    ::GetClassNameA(window, className, sizeof className);
    if (std::strcmp(className, "#32770") == 0 && ::IsWindowVisible(window) &&
        WindowText(window) == search->caption) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}
}  // namespace

HWND UiThread::WaitForDialog(const char* caption, DWORD timeoutMs) const {
    DialogSearch search{caption, nullptr};
    WaitUntil([&] {
        ::EnumThreadWindows(threadId_, &FindDialog, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr || Finished();
    }, timeoutMs);
    return search.found;
}

LRESULT CALLBACK UiThread::OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<UiThread*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
    if (message == WM_COMMAND && self != nullptr) {
        std::lock_guard<std::mutex> lock(self->mutex_);
        self->commands_.push_back({LOWORD(wParam), lParam});
        return 0;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

DWORD WINAPI UiThread::Run(void* parameter) {
    auto* self = static_cast<UiThread*>(parameter);
    WNDCLASSA type{};
    type.lpfnWndProc = &UiThread::OwnerProc;
    type.hInstance = ::GetModuleHandleA(nullptr);
    type.lpszClassName = kOwnerClass;
    ::RegisterClassA(&type);  // fails harmlessly when a previous test registered it
    self->owner_ = ::CreateWindowExA(0, kOwnerClass, "Plyvane test owner", WS_OVERLAPPEDWINDOW, 40,
                                     40, 200, 100, nullptr, nullptr, type.hInstance, self);
    ::SetEvent(self->ownerReady_);
    self->result_ = self->body_(self->owner_);
    // Commands posted just before the end are still in the queue.
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&message);
    ::DestroyWindow(self->owner_);
    return 0;
}

}  // namespace plyvane::testing
