// The watcher's stop: its pauses last their time until the stop, and the
// stop ends a pause at once, from another thread.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "loader/stop_signal.h"

namespace zentra {
namespace {

using Clock = std::chrono::steady_clock;

long msSince(Clock::time_point start) {
    return long(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

TEST(StopSignal, APauseLastsItsTimeUntilTheStopEndsIt) {
    StopSignal signal;
    for (int round = 0; round < 3; ++round) {  // never shorter, however often
        const auto start = Clock::now();
        EXPECT_FALSE(signal.pause(150));
        EXPECT_GE(msSince(start), 140);
    }
    EXPECT_FALSE(signal.stopped());

    std::thread stopper([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        signal.stop();
    });
    const auto start = Clock::now();
    EXPECT_TRUE(signal.pause(60000));
    stopper.join();
    EXPECT_LT(msSince(start), 30000) << "the stop ended the pause";
    EXPECT_TRUE(signal.stopped());
    EXPECT_TRUE(signal.pause(60000)) << "once stopped, no pause waits";
}

}  // namespace
}  // namespace zentra
