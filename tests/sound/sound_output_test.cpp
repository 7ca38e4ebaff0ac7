// The sound output layer with SDL's dummy and disk drivers, and with no usable
// driver at all.
#include "platform/sound.h"

#include "tests/sound/allocation_counter.h"
#include "tests/sound/disk_audio.h"
#include "tests/sound/wav_builder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>

namespace {

const WavFormat MONO16 = pcm_format(1, 44100, 16);

Bytes short_burst(int16_t level, size_t frames) {
    return pcm_wav(MONO16, s16_bytes(std::vector<int16_t>(frames, level)));
}

struct SoundOutputTest : testing::Test {
    void TearDown() override {
        release_sound_output();
        remove_disk_output();
    }
};

TEST_F(SoundOutputTest, WithoutAUsableDriverNothingStartsLoadsOrPlays) {
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    EXPECT_FALSE(start_sound_output());
    EXPECT_FALSE(load_sound(0, short_burst(1000, 64)));
    for (int i = 0; i < 4; ++i) EXPECT_FALSE(play_sound(0));
    release_sound_output();
    release_sound_output();
    EXPECT_FALSE(play_sound(0));
}

TEST_F(SoundOutputTest, AFailedLoadLeavesItsNumberEmpty) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    ASSERT_TRUE(start_sound_output());
    const Bytes good = short_burst(1000, 64);
    ASSERT_TRUE(load_sound(2, good));
    EXPECT_TRUE(play_sound(2));
    EXPECT_FALSE(load_sound(2, Bytes(good.begin(), good.end() - 2)));
    EXPECT_FALSE(play_sound(2));
    EXPECT_FALSE(load_sound(3, pcm_wav(MONO16, {})));   // nothing to play
    EXPECT_FALSE(play_sound(3));
}

TEST_F(SoundOutputTest, PlayingAllocatesNothing) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    ASSERT_TRUE(start_sound_output());
    ASSERT_TRUE(load_sound(0, short_burst(1000, 1312)));
    const long before = allocations_made();
    for (int i = 0; i < 4; ++i) play_sound(0);
    play_sound(7);
    EXPECT_EQ(allocations_made(), before);
}

// A second load under the same number replaces the first sound; a sound in
// another format (8-bit stereo at 22,050 Hz) is converted to the device's
// 16-bit mono at 44,100 Hz: twice the frames, at the same level.
TEST_F(SoundOutputTest, ALoadReplacesTheSoundAndConvertsItToTheDevice) {
    const std::string path = use_disk_driver();
    ASSERT_TRUE(start_sound_output());
    ASSERT_TRUE(load_sound(5, short_burst(-30000, 400)));
    constexpr size_t FRAMES = 441;      // 20 ms
    const Bytes quarter_level(FRAMES * 2, 0xA0);   // 128 + 32: a quarter of full scale
    ASSERT_TRUE(load_sound(5, pcm_wav(pcm_format(2, 22050, 8), quarter_level)));
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    const uintmax_t before = written_bytes(path);
    ASSERT_TRUE(play_sound(5));
    ASSERT_TRUE(wait_for_output(path, before, FRAMES * 4 + 4096));
    release_sound_output();

    const std::vector<int16_t> output = read_s16(path);
    const auto heard = std::ranges::find_if(output, [](int16_t s) { return s != 0; });
    ASSERT_NE(heard, output.end());
    const auto quiet_again = std::find(heard, output.end(), int16_t(0));
    EXPECT_NEAR(double(quiet_again - heard), 2.0 * FRAMES, 16.0);
    EXPECT_NEAR(heard[(quiet_again - heard) / 2], 8192, 8192 * 0.02);
    EXPECT_GT(*std::ranges::min_element(output), -10000) << "the replaced sound was heard";
}

}  // namespace
