// Sound output: numbered sounds loaded from RIFF WAVE bytes and played in the
// background. Called by media/move_sound only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

// Starts the sound output. False when none can be had (no driver, no device);
// never stops the program. Called once at start-up, before any window exists.
bool start_sound_output();
// Loads a WAV from memory under a number, freeing the sound held there first.
// The sample data is copied once into one playback buffer. False on a malformed
// block, a format the output cannot play, or when the output has not started.
bool load_sound(int number, std::span<const uint8_t> wav);
// Stops the sound if playing, rewinds it to its first sample and starts it once.
// Returns at once; allocates nothing. False (and nothing done) for an empty number.
bool play_sound(int number);
// Frees every sound and lets go of the sound output. Safe after a failed start.
void release_sound_output();
