#include "app/random.hpp"

namespace tessaly {
namespace {

uint32_t g_random_state = 1;

}  // namespace

void random_seed(uint32_t seed) {
    g_random_state = seed;
}

uint32_t random_state() {
    return g_random_state;
}

int32_t random_below(int32_t n) {
    g_random_state = g_random_state * 214013u + 2531011u;
    const int32_t r = static_cast<int32_t>((g_random_state >> 16) & 0x7FFF);
    return n > 0 ? r % n : 0;
}

}  // namespace tessaly
