// The playback thread port: one thread that runs a body, sleeps between its
// steps and can be asked to stop. A stop request ends a sleep at once, so a
// stop never has to kill the thread (which could leave a lock taken).
#pragma once

#include <cstdint>

namespace plyvane {

using ThreadBody = void (*)(void* context);

class WorkerThread {
public:
    virtual ~WorkerThread() = default;
    // Starts the body on a new thread at normal priority; a thread that has
    // finished is joined first. False when no thread could be created.
    virtual bool Start(ThreadBody body, void* context) = 0;
    // For the body: sleeps; false when a stop was requested (at once or during
    // the sleep).
    virtual bool Sleep(uint32_t milliseconds) = 0;
    virtual bool StopRequested() const = 0;
    // Asks the body to end and waits for it; from the body itself only asks.
    virtual void Stop() = 0;
    // True on the thread this object runs.
    virtual bool IsCurrentThread() const = 0;
};

// Raises the calling thread to THREAD_PRIORITY_ABOVE_NORMAL (where the system
// lets us) for the life of the object.
class RaisedThreadPriority {
public:
    RaisedThreadPriority();
    ~RaisedThreadPriority();
    RaisedThreadPriority(const RaisedThreadPriority&) = delete;
    RaisedThreadPriority& operator=(const RaisedThreadPriority&) = delete;

private:
    int previous_ = 0;
    bool raised_ = false;
};

}  // namespace plyvane
