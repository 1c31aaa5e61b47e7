#include "std_worker_thread.h"

#include <chrono>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#endif

namespace plyvane {

StdWorkerThread::~StdWorkerThread() { Stop(); }

bool StdWorkerThread::Start(ThreadBody body, void* context) {
    std::thread finished;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        finished = std::move(thread_);
    }
    if (finished.joinable()) finished.join();

    std::lock_guard<std::mutex> lock(mutex_);
    stop_ = false;
    try {
        thread_ = std::thread([body, context] { body(context); });
    } catch (const std::system_error&) {
        return false;
    }
    id_ = thread_.get_id();
    return true;
}

bool StdWorkerThread::Sleep(uint32_t milliseconds) {
    std::unique_lock<std::mutex> lock(mutex_);
    wake_.wait_for(lock, std::chrono::milliseconds(milliseconds), [this] { return stop_; });
    return !stop_;
}

bool StdWorkerThread::StopRequested() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return stop_;
}

void StdWorkerThread::Stop() {
    std::thread running;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stop_ = true;
        if (std::this_thread::get_id() == id_) return;  // the body ends itself
        running = std::move(thread_);
        id_ = std::thread::id();
    }
    wake_.notify_all();
    if (running.joinable()) running.join();
}

bool StdWorkerThread::IsCurrentThread() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return std::this_thread::get_id() == id_;
}

RaisedThreadPriority::RaisedThreadPriority() {
#ifdef _WIN32
    previous_ = GetThreadPriority(GetCurrentThread());
    raised_ = SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_ABOVE_NORMAL) != 0;
#endif
}

RaisedThreadPriority::~RaisedThreadPriority() {
#ifdef _WIN32
    if (raised_) SetThreadPriority(GetCurrentThread(), previous_);
#endif
}

}  // namespace plyvane
