#include "loader/stop_signal.h"

namespace zentra {

void StopSignal::stop() {
    {
        std::lock_guard<std::mutex> hold(lock_);
        stopped_ = true;
    }
    woken_.notify_all();
}

bool StopSignal::stopped() const {
    std::lock_guard<std::mutex> hold(lock_);
    return stopped_;
}

bool StopSignal::pause(unsigned ms) {
    std::unique_lock<std::mutex> hold(lock_);
    return woken_.wait_for(hold, std::chrono::milliseconds(ms), [this] { return stopped_; });
}

}  // namespace zentra
