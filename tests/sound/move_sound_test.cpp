// The move click as heard: SDL's disk driver captures what the mixer produced.
#include "media/move_sound.h"

#include "media/assets.h"
#include "platform/sound.h"
#include "tests/sound/disk_audio.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace {

// The built-in click's samples, at their fixed place in its canonical layout.
constexpr size_t CLICK_DATA_AT = 44;
constexpr size_t CLICK_FRAMES = 1312;

std::vector<int16_t> click_samples() {
    const auto bytes = MoveSound.bytes();
    EXPECT_GE(bytes.size(), CLICK_DATA_AT + CLICK_FRAMES * 2);
    EXPECT_EQ(std::memcmp(bytes.data() + CLICK_DATA_AT - 8, "data", 4), 0);
    std::vector<int16_t> samples(CLICK_FRAMES);
    for (size_t i = 0; i < samples.size(); ++i) {
        const size_t at = CLICK_DATA_AT + 2 * i;
        samples[i] = int16_t(bytes[at] | bytes[at + 1] << 8);
    }
    return samples;
}

void pause_ms(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

// Enough output after a play for the whole click, whenever the mixer picked it up.
constexpr uintmax_t AFTER_PLAY_BYTES = CLICK_FRAMES * 2 + 4096;

struct MoveSoundTest : testing::Test {
    void TearDown() override {
        shut_down_sound();
        remove_disk_output();
    }
};

TEST_F(MoveSoundTest, OnePlayWritesTheWholeClickBetweenSilences) {
    const std::string path = use_disk_driver();
    init_move_sound();
    pause_ms(20);
    const uintmax_t before = written_bytes(path);
    play_move_sound();
    ASSERT_TRUE(wait_for_output(path, before, AFTER_PLAY_BYTES));
    shut_down_sound();
    EXPECT_TRUE(holds_click_once_in_silence(read_s16(path), click_samples()));
}

TEST_F(MoveSoundTest, FourPlaysInARowAreHeardAsOneClick) {
    const std::string path = use_disk_driver();
    init_move_sound();
    pause_ms(20);
    const uintmax_t before = written_bytes(path);
    for (int i = 0; i < 4; ++i) play_move_sound();
    ASSERT_TRUE(wait_for_output(path, before, AFTER_PLAY_BYTES));
    shut_down_sound();
    size_t cut_off = 0;
    EXPECT_TRUE(holds_one_click_after_restarts(read_s16(path), click_samples(), cut_off));
}

// The driver is slowed to one 256-frame buffer per 20 ms, so 45 ms after the
// first play only two or three buffers of the click are out when the next
// plays come: the output must show that beginning cut off, then the click again
// from its first sample.
TEST_F(MoveSoundTest, APlayCutsOffTheClickAndRestartsIt) {
    const std::string path = use_disk_driver(20);
    init_move_sound();
    pause_ms(30);
    const uintmax_t before = written_bytes(path);
    play_move_sound();
    pause_ms(45);
    for (int i = 0; i < 3; ++i) play_move_sound();
    ASSERT_TRUE(wait_for_output(path, before, AFTER_PLAY_BYTES));
    shut_down_sound();
    size_t cut_off = 0;
    EXPECT_TRUE(holds_one_click_after_restarts(read_s16(path), click_samples(), cut_off));
    EXPECT_GT(cut_off, 0u);
    EXPECT_LT(cut_off, CLICK_FRAMES);
}

TEST_F(MoveSoundTest, WithoutSoundOutputThereIsNoSoundZero) {
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    init_move_sound();
    EXPECT_FALSE(play_sound(0));
    play_move_sound();
    shut_down_sound();
    shut_down_sound();
    EXPECT_FALSE(play_sound(0));
}

}  // namespace
