// The random source. It seeds itself once per run from a non-deterministic
// source; the game never seeds it.
#pragma once

// A draw uniformly distributed over 0 to max inclusive.
int random_draw(int max);
