// The move click: sound 0, loaded from the built-in WAV when the output starts.
#include "media/move_sound.h"

#include "media/assets.h"
#include "platform/sound.h"

namespace {
constexpr int MOVE_SOUND_NUMBER = 0;
}

void init_move_sound() {
    if (!start_sound_output()) return;
    load_sound(MOVE_SOUND_NUMBER, MoveSound.bytes());
}

void play_move_sound() {
    play_sound(MOVE_SOUND_NUMBER);
}

void shut_down_sound() {
    release_sound_output();
}
