#include "tests/sound/disk_audio.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <thread>

namespace {

constexpr auto OUTPUT_TIMEOUT = std::chrono::seconds(5);

// Index of the first and last non-silent samples; size() when all silent.
size_t first_sound(std::span<const int16_t> samples) {
    return size_t(std::ranges::find_if(samples, [](int16_t s) { return s != 0; }) - samples.begin());
}

size_t last_sound(std::span<const int16_t> samples) {
    for (size_t i = samples.size(); i > 0; --i)
        if (samples[i - 1] != 0) return i - 1;
    return samples.size();
}

bool is_silent(std::span<const int16_t> samples) {
    return first_sound(samples) == samples.size();
}

testing::AssertionResult click_at(std::span<const int16_t> output, std::span<const int16_t> click,
                                  size_t start) {
    if (start + click.size() > output.size())
        return testing::AssertionFailure() << "the click would end past the output's "
                                           << output.size() << " samples (starts at " << start << ")";
    const auto copy = output.subspan(start, click.size());
    const auto [o, c] = std::ranges::mismatch(copy, click);
    if (o != copy.end())
        return testing::AssertionFailure() << "output sample " << start + size_t(o - copy.begin()) << " is "
                                           << *o << ", click sample " << c - click.begin() << " is " << *c;
    if (!is_silent(output.subspan(start + click.size())))
        return testing::AssertionFailure() << "sound after the click";
    return testing::AssertionSuccess();
}

// Whether the samples are silence and beginnings of the click (each shorter than
// the whole click) one after another.
bool is_silence_and_click_beginnings(std::span<const int16_t> samples, std::span<const int16_t> click) {
    std::vector<bool> reachable(samples.size() + 1, false);
    reachable[0] = true;
    for (size_t i = 0; i < samples.size(); ++i) {
        if (!reachable[i]) continue;
        if (samples[i] == 0) reachable[i + 1] = true;
        for (size_t m = 0; m + 1 < click.size() && i + m < samples.size() && samples[i + m] == click[m]; ++m)
            reachable[i + m + 1] = true;
    }
    return reachable[samples.size()];
}

// A file of its own for each process and test, so that runs can overlap.
std::string disk_output_path() {
    const auto* test = testing::UnitTest::GetInstance()->current_test_info();
    return testing::TempDir() + "tessaroo-sound-" + std::to_string(getpid()) + "-" + test->name() + ".raw";
}

}  // namespace

std::string use_disk_driver(int delay_ms) {
    const std::string path = disk_output_path();
    std::remove(path.c_str());
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", path.c_str(), 1);
    if (delay_ms > 0)
        setenv("SDL_DISKAUDIODELAY", std::to_string(delay_ms).c_str(), 1);
    else
        unsetenv("SDL_DISKAUDIODELAY");
    return path;
}

void remove_disk_output() {
    std::remove(disk_output_path().c_str());
}

uintmax_t written_bytes(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 ? uintmax_t(info.st_size) : 0;
}

bool wait_for_output(const std::string& path, uintmax_t from, uintmax_t bytes) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) return false;
    const uintmax_t target = from + uintmax_t(info.st_blksize) + bytes;
    const auto deadline = std::chrono::steady_clock::now() + OUTPUT_TIMEOUT;
    while (written_bytes(path) < target) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

std::vector<int16_t> read_s16(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(file), {}};
    std::vector<int16_t> samples(bytes.size() / 2);
    std::copy_n(bytes.data(), samples.size() * 2, reinterpret_cast<char*>(samples.data()));
    return samples;
}

testing::AssertionResult holds_click_once_in_silence(std::span<const int16_t> output,
                                                     std::span<const int16_t> click) {
    const size_t heard = first_sound(output);
    const size_t lead = first_sound(click);
    if (heard == output.size()) return testing::AssertionFailure() << "the output is silent";
    if (heard <= lead) return testing::AssertionFailure() << "no silence before the click";
    const size_t start = heard - lead;
    const auto whole = click_at(output, click, start);
    if (!whole) return whole;
    if (start + click.size() == output.size()) return testing::AssertionFailure() << "no silence after the click";
    return testing::AssertionSuccess();
}

testing::AssertionResult holds_one_click_after_restarts(std::span<const int16_t> output,
                                                        std::span<const int16_t> click,
                                                        size_t& cut_off_samples) {
    const size_t end = last_sound(output);
    const size_t tail = last_sound(click);
    if (end == output.size()) return testing::AssertionFailure() << "the output is silent";
    if (end < tail) return testing::AssertionFailure() << "the output is shorter than the click";
    const size_t start = end - tail;
    const auto whole = click_at(output, click, start);
    if (!whole) return whole;
    if (!is_silence_and_click_beginnings(output.first(start), click))
        return testing::AssertionFailure() << "before the last click the output holds more than "
                                              "silence and cut-off beginnings of the click";
    cut_off_samples = start - std::min(start, first_sound(output));
    return testing::AssertionSuccess();
}
