#include "fuzz/wav_input.h"

#include "platform/sound.h"
#include "platform/wav.h"

namespace {

// Touches every byte of the parsed samples, so a span reaching past the block is
// caught by the sanitizer; the sum is kept so the reads are not optimised away.
void read_samples(const WavSound& sound) {
    static volatile unsigned sum = 0;
    unsigned total = 0;
    for (uint8_t sample : sound.samples) total += sample;
    sum = sum + total;
}

bool lies_inside(std::span<const uint8_t> part, std::span<const uint8_t> whole) {
    return part.data() >= whole.data() && part.size() <= whole.size() &&
           size_t(part.data() - whole.data()) <= whole.size() - part.size();
}

}  // namespace

WavOutcome feed_wav(std::span<const uint8_t> bytes) {
    static const bool output_started = start_sound_output();
    WavOutcome outcome;
    if (const auto sound = parse_wav(bytes)) {
        outcome.parsed = true;
        outcome.consistent = lies_inside(sound->samples, bytes) && sound->format.block_align > 0 &&
                             sound->samples.size() % sound->format.block_align == 0;
        if (outcome.consistent) read_samples(*sound);
    }
    if (output_started) outcome.loaded = load_sound(0, bytes);
    return outcome;
}
