// Measures the time from play_move_sound to the click's first sample leaving the
// mixer. The program is linked with --wrap=SDL_OpenAudioDevice so that the device
// is opened with a probe around the output's audio callback: the probe stamps
// the moment a buffer it has just filled begins with the click.
//
// Usage: sound_latency_probe [DRIVER [PLAYS]]   (DRIVER: disk (default) or dummy)
#include "media/assets.h"
#include "media/move_sound.h"

#include <SDL.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <thread>
#include <vector>

extern "C" SDL_AudioDeviceID __real_SDL_OpenAudioDevice(const char* device, int iscapture,
                                                        const SDL_AudioSpec* desired,
                                                        SDL_AudioSpec* obtained, int allowed_changes);

namespace {

using Clock = std::chrono::steady_clock;

constexpr size_t CLICK_DATA_AT = 44;        // the click's samples in its file
constexpr size_t CLICK_START_BYTES = 64;    // the first 32 samples identify it

struct Probe {
    SDL_AudioCallback mix = nullptr;
    void* mix_userdata = nullptr;
    SDL_AudioSpec obtained{};
    std::atomic<bool> armed{false};
    std::atomic<Clock::rep> heard_at{0};
};

Probe TheProbe;

void SDLCALL probe_callback(void*, Uint8* stream, int length) {
    TheProbe.mix(TheProbe.mix_userdata, stream, length);
    if (!TheProbe.armed || size_t(length) < CLICK_START_BYTES) return;
    if (std::memcmp(stream, MoveSound.data + CLICK_DATA_AT, CLICK_START_BYTES) != 0) return;
    TheProbe.heard_at = Clock::now().time_since_epoch().count();
    TheProbe.armed = false;
}

}  // namespace

extern "C" SDL_AudioDeviceID __wrap_SDL_OpenAudioDevice(const char* device, int iscapture,
                                                        const SDL_AudioSpec* desired,
                                                        SDL_AudioSpec* obtained, int allowed_changes) {
    SDL_AudioSpec probed = *desired;
    TheProbe.mix = desired->callback;
    TheProbe.mix_userdata = desired->userdata;
    probed.callback = probe_callback;
    probed.userdata = nullptr;
    const SDL_AudioDeviceID id = __real_SDL_OpenAudioDevice(device, iscapture, &probed, obtained, allowed_changes);
    if (id != 0 && obtained != nullptr) TheProbe.obtained = *obtained;
    return id;
}

namespace {

// Milliseconds from a play to the click leaving the mixer; negative if never.
double time_one_play() {
    TheProbe.armed = true;
    const auto played_at = Clock::now();
    play_move_sound();
    const auto deadline = played_at + std::chrono::seconds(1);
    while (TheProbe.armed && Clock::now() < deadline) std::this_thread::sleep_for(std::chrono::microseconds(50));
    if (TheProbe.armed) return -1;
    const auto heard_at = Clock::time_point(Clock::duration(TheProbe.heard_at.load()));
    return std::chrono::duration<double, std::milli>(heard_at - played_at).count();
}

double percentile(std::vector<double> values, double p) {
    std::ranges::sort(values);
    return values[size_t(p * double(values.size() - 1) + 0.5)];
}

}  // namespace

int main(int argc, char** argv) {
    const std::string driver = argc > 1 ? argv[1] : "disk";
    const int plays = argc > 2 ? std::max(1, std::atoi(argv[2])) : 200;
    setenv("SDL_AUDIODRIVER", driver.c_str(), 1);
    setenv("SDL_DISKAUDIOFILE", "/dev/null", 1);

    init_move_sound();
    if (TheProbe.mix == nullptr) {
        std::fprintf(stderr, "the sound output did not start with driver %s\n", driver.c_str());
        return 1;
    }
    // Plays spaced 40 to 80 ms apart: each click has ended, and the plays fall
    // at every phase of the device's buffer period.
    std::mt19937 random(1);
    std::uniform_int_distribution<int> spacing_us(40000, 80000);
    std::vector<double> latencies;
    int missed = 0;
    for (int i = 0; i < plays; ++i) {
        std::this_thread::sleep_for(std::chrono::microseconds(spacing_us(random)));
        const double ms = time_one_play();
        if (ms < 0) ++missed; else latencies.push_back(ms);
    }
    shut_down_sound();
    if (latencies.empty()) {
        std::fprintf(stderr, "the click never left the mixer\n");
        return 1;
    }
    const SDL_AudioSpec& spec = TheProbe.obtained;
    std::printf("driver %s: device %d Hz, %d channel(s), buffer %d frames (%.2f ms)\n", driver.c_str(),
                spec.freq, spec.channels, spec.samples, 1000.0 * spec.samples / spec.freq);
    std::printf("play to first sample mixed, %zu plays (%d missed): min %.2f ms, median %.2f ms, "
                "90%% %.2f ms, max %.2f ms\n",
                latencies.size(), missed, percentile(latencies, 0), percentile(latencies, 0.5),
                percentile(latencies, 0.9), percentile(latencies, 1.0));
    return missed == 0 ? 0 : 1;
}
