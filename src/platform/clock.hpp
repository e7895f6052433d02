#pragma once
#include <cstdint>
#include <ctime>

namespace tessaly::platform {

// The millisecond clock (wraps after 49 days, compared as unsigned differences).
uint32_t ticks_ms();
void sleep_ms(uint32_t ms);
// Raises the timer resolution to 1 ms for the run; a no-op where the platform has none.
void timer_begin_period();
void timer_end_period();
// Calendar time in seconds, for the random seed.
int64_t calendar_seconds();

}  // namespace tessaly::platform
