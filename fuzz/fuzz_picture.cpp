// libFuzzer entry: every input goes through the picture loader. A picture that
// was made but did not reach the board whole stops the run like a crash.
#include <cstddef>
#include <cstdint>

#include "fuzz/picture_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const PictureOutcome outcome = feed_picture({data, size});
    if (!outcome.builtin.board_whole || !outcome.player_file.board_whole) __builtin_trap();
    return 0;
}
