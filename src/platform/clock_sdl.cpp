#include <SDL.h>

#include <chrono>
#include <thread>

#include "platform/clock.hpp"

namespace tessaly::platform {

uint32_t ticks_ms() {
    // SDL's clock starts with the first call; it is whole milliseconds like the multimedia timer.
    return SDL_GetTicks();
}

void sleep_ms(uint32_t ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

// SDL's clock and the POSIX sleep already resolve to a millisecond; nothing to raise here.
void timer_begin_period() {}
void timer_end_period() {}

int64_t calendar_seconds() {
    return static_cast<int64_t>(std::time(nullptr));
}

}  // namespace tessaly::platform
