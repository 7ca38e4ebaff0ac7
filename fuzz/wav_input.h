// One fuzz input through the WAV parser and the sound loader, shared by the fuzz
// target and the regression tests so that a saved input replays along the same path.
#pragma once

#include <cstdint>
#include <span>

struct WavOutcome {
    bool parsed = false;      // parse_wav accepted the bytes
    bool consistent = true;   // its samples lie inside the bytes, in whole frames
    bool loaded = false;      // load_sound took them as sound 0
};

// Parses the bytes, reads every sample byte the parser hands back, and loads
// them as sound 0 when a sound output could be started (SDL's dummy driver will do).
WavOutcome feed_wav(std::span<const uint8_t> bytes);
