// The opening demonstration on the built-in picture: cut it into tiles, lay the
// cells out one by one, jumble the board with a short random walk of the black
// square and play the walk back, then show the whole picture again.
#pragma once

#include <cstdint>
#include <vector>

constexpr int DEMO_STEPS = 20;
constexpr int DEMO_STEP_PAUSE_MS = 200;

// The cells the blank passed through, from cell 11 on; one entry per moving draw.
using DemoTrail = std::vector<int16_t>;

// Leaves the board in its initial arrangement and move_count untouched. Events
// taken meanwhile are ignored; the demonstration always runs to its end.
void run_demonstration();
