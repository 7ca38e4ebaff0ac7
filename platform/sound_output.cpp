// Sound output over SDL2's audio subsystem. One device runs from start to
// release and the audio callback copies from a single playing position, so a
// new play cuts off the previous one instead of mixing or queueing behind it.
#include "platform/sound.h"

#include "platform/wav.h"

#include <SDL.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <map>
#include <optional>
#include <vector>

namespace {

// 256 frames at 44,100 Hz is 5.8 ms per callback: a play reaches the mixer
// within one such period.
constexpr int DEVICE_RATE = 44100;
constexpr Uint16 DEVICE_BUFFER_FRAMES = 256;
constexpr int MAX_CHANNELS = 8;     // the most SDL's converter takes

// A loaded sound: its format as the file gave it and its samples converted once
// to the device's format.
struct Sound {
    WavFormat source_format;
    std::vector<uint8_t> buffer;
};

// What the callback reads; changed only with the device locked.
struct Playback {
    const uint8_t* samples = nullptr;   // null when nothing plays
    size_t length = 0;
    size_t position = 0;
    uint8_t silence = 0;
};

struct SoundOutput {
    bool subsystem_started = false;
    SDL_AudioDeviceID device = 0;
    SDL_AudioSpec spec{};
    std::map<int, Sound> sounds;
    Playback playback;
};

SoundOutput Output;

// The audio callback: the rest of the playing sound, then silence.
void SDLCALL mix_playback(void* userdata, Uint8* stream, int length) {
    auto& playback = *static_cast<Playback*>(userdata);
    size_t copied = 0;
    if (playback.samples != nullptr) {
        copied = std::min(size_t(length), playback.length - playback.position);
        std::memcpy(stream, playback.samples + playback.position, copied);
        playback.position += copied;
        if (playback.position == playback.length) playback.samples = nullptr;
    }
    std::memset(stream + copied, playback.silence, size_t(length) - copied);
}

SDL_AudioDeviceID open_device(SDL_AudioSpec& obtained) {
    SDL_AudioSpec wanted{};
    wanted.freq = DEVICE_RATE;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 1;
    wanted.samples = DEVICE_BUFFER_FRAMES;
    wanted.callback = mix_playback;
    wanted.userdata = &Output.playback;
    // Whatever the device prefers is taken as it is: sounds are converted to it
    // once when loaded, so SDL has nothing to convert or rebuffer while playing.
    return SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, SDL_AUDIO_ALLOW_ANY_CHANGE);
}

// The samples of a parsed WAV in the device's format; nothing when SDL cannot
// convert them or nothing would be left to play.
std::optional<std::vector<uint8_t>> convert_to_device(const WavSound& wav,
                                                      const SDL_AudioSpec& device) {
    const WavFormat& format = wav.format;
    if (format.channels > MAX_CHANNELS || format.sample_rate > INT_MAX) return std::nullopt;
    const SDL_AudioFormat source = format.bits_per_sample == 8 ? AUDIO_U8 : AUDIO_S16LSB;
    SDL_AudioCVT cvt;
    const int needed = SDL_BuildAudioCVT(&cvt, source, Uint8(format.channels), int(format.sample_rate),
                                         device.format, device.channels, device.freq);
    if (needed < 0) return std::nullopt;
    std::vector<uint8_t> buffer(wav.samples.begin(), wav.samples.end());
    if (needed > 0) {
        if (buffer.size() > size_t(INT_MAX / cvt.len_mult)) return std::nullopt;
        buffer.resize(buffer.size() * size_t(cvt.len_mult));
        cvt.buf = buffer.data();
        cvt.len = int(wav.samples.size());
        if (SDL_ConvertAudio(&cvt) != 0) return std::nullopt;
        buffer.resize(size_t(cvt.len_cvt));
        buffer.shrink_to_fit();
    }
    if (buffer.empty()) return std::nullopt;
    return buffer;
}

// Frees the sound under a number, cutting it off first if it is playing.
void free_sound(int number) {
    const auto found = Output.sounds.find(number);
    if (found == Output.sounds.end()) return;
    SDL_LockAudioDevice(Output.device);
    if (Output.playback.samples == found->second.buffer.data()) Output.playback.samples = nullptr;
    SDL_UnlockAudioDevice(Output.device);
    Output.sounds.erase(found);
}

}  // namespace

bool start_sound_output() {
    if (Output.device != 0) return true;
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    Output.subsystem_started = true;
    Output.device = open_device(Output.spec);
    if (Output.device == 0) {
        release_sound_output();
        return false;
    }
    Output.playback.silence = Output.spec.silence;
    SDL_PauseAudioDevice(Output.device, 0);
    return true;
}

bool load_sound(int number, std::span<const uint8_t> wav) {
    free_sound(number);
    if (Output.device == 0) return false;
    const auto parsed = parse_wav(wav);
    if (!parsed) return false;
    auto buffer = convert_to_device(*parsed, Output.spec);
    if (!buffer) return false;
    Output.sounds[number] = Sound{parsed->format, std::move(*buffer)};
    return true;
}

// Stopping, rewinding and starting happen in one step under the device lock:
// the callback sees either the old position or the first sample, never a mix.
bool play_sound(int number) {
    const auto found = Output.sounds.find(number);
    if (found == Output.sounds.end()) return false;
    const std::vector<uint8_t>& buffer = found->second.buffer;
    SDL_LockAudioDevice(Output.device);
    Output.playback.samples = buffer.data();
    Output.playback.length = buffer.size();
    Output.playback.position = 0;
    SDL_UnlockAudioDevice(Output.device);
    return true;
}

void release_sound_output() {
    if (Output.device != 0) SDL_CloseAudioDevice(Output.device);   // joins the callback's thread
    Output.device = 0;
    Output.playback = Playback{};
    Output.sounds.clear();
    if (Output.subsystem_started) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    Output.subsystem_started = false;
}
