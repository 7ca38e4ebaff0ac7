// The click played on every move.
#pragma once

// Starts the sound output and, if it started, loads the built-in click as sound 0.
void init_move_sound();
// Plays sound 0 from its first sample; nothing if there is no sound 0.
void play_move_sound();
// Frees the click and lets go of the sound output.
void shut_down_sound();
