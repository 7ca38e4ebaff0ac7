// A standard generator, seeded on first use from the system's entropy and the
// clock, so every run draws a different sequence without the game seeding it.
#include "platform/random.h"

#include <chrono>
#include <random>

namespace {

std::mt19937& generator() {
    static std::mt19937 seeded = [] {
        std::random_device entropy;
        const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
        std::seed_seq seed{entropy(), entropy(), uint32_t(now), uint32_t(now >> 32)};
        return std::mt19937(seed);
    }();
    return seeded;
}

}  // namespace

int random_draw(int max) { return std::uniform_int_distribution<int>(0, max)(generator()); }
