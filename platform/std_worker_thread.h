// The playback thread over std::thread, for every target (the MinGW posix
// thread model has it too).
#pragma once

#include <condition_variable>
#include <mutex>
#include <thread>

#include "worker_thread.h"

namespace plyvane {

class StdWorkerThread : public WorkerThread {
public:
    ~StdWorkerThread() override;

    bool Start(ThreadBody body, void* context) override;
    bool Sleep(uint32_t milliseconds) override;
    bool StopRequested() const override;
    void Stop() override;
    bool IsCurrentThread() const override;

private:
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::thread thread_;
    std::thread::id id_;
    bool stop_ = false;
};

}  // namespace plyvane
