// libFuzzer entry: every input goes through the WAV parser and the sound loader,
// the latter on SDL's dummy audio driver so no sound card is needed. Samples
// outside the input, or a sound loaded that the parser refused, stop the run.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "fuzz/wav_input.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const WavOutcome outcome = feed_wav({data, size});
    if (!outcome.consistent || (outcome.loaded && !outcome.parsed)) __builtin_trap();
    return 0;
}
