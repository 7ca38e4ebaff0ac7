// Time: pauses and the millisecond tick count.
#pragma once

#include <cstdint>

// Sleeps for the given milliseconds. No event is taken, nothing is repainted.
void pause_ms(int milliseconds);
// Milliseconds from a monotonic clock, as a 32-bit count that wraps.
uint32_t tick_count();
