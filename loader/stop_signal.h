// The watcher thread's stop: a flag that the main thread sets at Exit and
// that wakes the watcher's pauses at once. It needs nothing that could fail
// to be created, so a pause always lasts its time unless the stop comes.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace zentra {

class StopSignal {
public:
    void stop();
    bool stopped() const;
    // Waits `ms` milliseconds or until the stop; true when stopped.
    bool pause(unsigned ms);

private:
    mutable std::mutex lock_;
    std::condition_variable woken_;
    bool stopped_ = false;
};

}  // namespace zentra
