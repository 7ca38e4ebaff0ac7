// The system's clock: a monotonic millisecond count and sleeping pauses.
#include "platform/clock.h"

#include <chrono>
#include <thread>

void pause_ms(int milliseconds) {
    if (milliseconds > 0) std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

uint32_t tick_count() {
    const auto since_boot = std::chrono::steady_clock::now().time_since_epoch();
    return uint32_t(std::chrono::duration_cast<std::chrono::milliseconds>(since_boot).count());
}
