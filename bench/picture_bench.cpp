// picture-bench [RUNS] [INPUT_FOLDER]: makes the inputs, checks how faithful the
// reduced decoding paths are, then times our load + scale + cut against
// gdk-pixbuf's at-scale loader and libvips' thumbnailer, each in its own process,
// in rounds that take the three in turn. Prints medians, paired ratios of
// medians with the spread of the per-round ratios, and peak memory.
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/bench_inputs.h"
#include "bench/peak_memory.h"
#include "media/byte_source.h"
#include "media/jpeg_reader.h"
#include "media/picture_file.h"
#include "media/pictures.h"
#include "media/png_reader.h"
#include "media/scaling.h"

extern char** environ;

namespace {

// ---- fidelity ---------------------------------------------------------------

struct ChannelDifference {
    double mean[3] = {};
};

ChannelDifference mean_absolute_difference(const Image& a, const Image& b) {
    ChannelDifference d;
    const int channels = channels_of(a);
    for (size_t i = 0; i < a.pixels.size(); ++i)
        if (i % channels < 3) d.mean[i % channels] += std::abs(int(a.pixels[i]) - int(b.pixels[i]));
    for (double& m : d.mean) m /= double(a.width) * a.height;
    return d;
}

void report_jpeg_fidelity(const BenchInput& input) {
    const auto bytes = read_picture_file(input.path);
    const auto full = read_jpeg(*bytes);
    if (!full) return;
    const Image reference = resample_picture(*full, 400, 300);
    // The inputs are coded 4:2:0, as libjpeg does by default.
    const int chosen = jpeg_scale_for(full->width, full->height, 400, 300, {{2, 2}, {1, 1}, {1, 1}});
    for (int denominator : {2, 4, 8}) {
        const auto scaled = read_jpeg_scaled(bytes_in_memory(*bytes), denominator);
        const auto d = mean_absolute_difference(resample_picture(scaled->image, 400, 300), reference);
        std::printf("  %-24s 1/%d (%5dx%-5d)  MAD R %.3f G %.3f B %.3f%s\n", input.name.c_str(), denominator,
                    scaled->image.width, scaled->image.height, d.mean[0], d.mean[1], d.mean[2],
                    denominator == chosen ? "   <- used" : "");
    }
}

// The streaming PNG and bitmap paths against decoding whole, then scaling.
void report_stream_fidelity(const BenchInput& input) {
    const auto bytes = read_picture_file(input.path);
    const auto full = decode_picture(*bytes);
    if (!full || !load_picture_file(input.path)) return;
    scale_working_picture();
    const auto d = mean_absolute_difference(*image_at(WORKING_PICTURE), resample_picture(*full, 400, 300));
    std::printf("  %-24s streamed vs whole  MAD R %.3f G %.3f B %.3f\n", input.name.c_str(), d.mean[0], d.mean[1],
                d.mean[2]);
}

double milliseconds_since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// The PNG reader with and without checksum verification, in this process.
void report_checksum_gain(const BenchInput& input, int runs) {
    std::vector<double> skipping, verifying;
    for (int run = 0; run < runs; ++run) {
        for (bool verify : {false, true}) {
            auto file = open_picture_file(input.path);
            const auto start = std::chrono::steady_clock::now();
            auto first = read_picture_bytes(*file, 64 << 10);
            read_png_for({*first, file->fd, verify}, 400, 300);
            (verify ? verifying : skipping).push_back(milliseconds_since(start));
            close_picture_file(*file);
        }
    }
    std::sort(skipping.begin(), skipping.end());
    std::sort(verifying.begin(), verifying.end());
    std::printf("  %-24s checksums skipped %.1f ms, verified %.1f ms (medians of %d)\n", input.name.c_str(),
                skipping[runs / 2], verifying[runs / 2], runs);
}

// ---- timing -----------------------------------------------------------------

struct Sample {
    bool ok = false;
    double wall_ms = 0;      // process start to exit
    double load_ms = 0;      // as the program timed its own load (0 for vips)
    long above_kib = 0;      // peak resident memory above the program's own baseline
    long max_rss_kib = 0;    // peak resident memory of the whole process
};

Sample run_program(std::vector<std::string> arguments, bool reports) {
    std::vector<char*> argv;
    for (auto& a : arguments) argv.push_back(a.data());
    argv.push_back(nullptr);
    int out[2];
    if (pipe(out) != 0) return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", 0x1 /* O_WRONLY */, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    Sample sample;
    std::string text;
    char buffer[256];
    for (ssize_t got; (got = read(out[0], buffer, sizeof buffer)) > 0;) text.append(buffer, size_t(got));
    close(out[0]);
    if (spawned != 0) return {};
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    sample.wall_ms = milliseconds_since(start);
    sample.max_rss_kib = usage.ru_maxrss;
    sample.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    if (reports) sample.ok = sample.ok && std::sscanf(text.c_str(), "%lf %ld", &sample.load_ms, &sample.above_kib) == 2;
    return sample;
}

struct Tool {
    const char* name;
    std::vector<std::string> command;  // the input's path is appended
    bool reports;
};

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

struct Series {
    std::vector<double> wall, load, above, rss;
};

void print_ratio(const char* label, const Series& ours, const Series& theirs, bool by_load) {
    const auto& a = by_load ? ours.load : ours.wall;
    const auto& b = by_load ? theirs.load : theirs.wall;
    if (a.empty() || a.size() != b.size()) {
        std::printf("    %-34s n/a\n", label);
        return;
    }
    std::vector<double> ratios;
    for (size_t i = 0; i < a.size(); ++i) ratios.push_back(a[i] / b[i]);
    std::printf("    %-34s %.3f  (per-round %.3f - %.3f)\n", label, median(a) / median(b),
                *std::min_element(ratios.begin(), ratios.end()), *std::max_element(ratios.begin(), ratios.end()));
}

void print_series(const char* name, const Series& s, bool reports) {
    if (s.wall.empty()) {
        std::printf("    %-8s failed or not available\n", name);
        return;
    }
    const auto [wall_min, wall_max] = std::minmax_element(s.wall.begin(), s.wall.end());
    std::printf("    %-8s process %7.1f ms (%.1f - %.1f)", name, median(s.wall), *wall_min, *wall_max);
    if (reports) {
        const auto [load_min, load_max] = std::minmax_element(s.load.begin(), s.load.end());
        std::printf("  load %7.1f ms (%.1f - %.1f)  peak above baseline %6.1f MiB", median(s.load), *load_min,
                    *load_max, median(s.above) / 1024);
    }
    std::printf("  max RSS %6.1f MiB\n", median(s.rss) / 1024);
}

void time_input(const BenchInput& input, const std::vector<Tool>& tools, int runs) {
    std::vector<Series> series(tools.size());
    std::vector<bool> failed(tools.size(), false);
    for (int run = 0; run < runs; ++run) {
        for (size_t k = 0; k < tools.size(); ++k) {
            const size_t t = (k + size_t(run)) % tools.size();
            if (failed[t]) continue;
            auto command = tools[t].command;
            command.insert(command.begin() + 1, input.path);
            const Sample sample = run_program(command, tools[t].reports);
            if (!sample.ok) {
                failed[t] = true;
                series[t] = {};
                continue;
            }
            series[t].wall.push_back(sample.wall_ms);
            series[t].load.push_back(sample.load_ms);
            series[t].above.push_back(double(sample.above_kib));
            series[t].rss.push_back(double(sample.max_rss_kib));
        }
    }
    std::printf("  %s\n", input.name.c_str());
    for (size_t t = 0; t < tools.size(); ++t) print_series(tools[t].name, series[t], tools[t].reports);
    print_ratio("ours / gdk-pixbuf (load in process)", series[0], series[1], true);
    print_ratio("ours / gdk-pixbuf (whole process)", series[0], series[1], false);
    print_ratio("ours / vipsthumbnail (whole process)", series[0], series[2], false);
}

}  // namespace

// The inputs are made in a child process, so that this process stays small:
// a child started from it inherits its peak memory as its own starting figure.
std::vector<BenchInput> inputs_made_apart(const std::string& folder) {
    const pid_t child = fork();
    if (child == 0) {
        bench_inputs(folder);
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return bench_inputs(folder);
}

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(3, std::atoi(argv[1])) : 15;
    const std::string folder = argc > 2 ? argv[2] : "bench-inputs";
    const auto inputs = inputs_made_apart(folder);
    std::printf("Peak memory of this driver before timing: %.1f MiB (the floor of every max RSS below)\n",
                double(peak_kib()) / 1024);
    const std::string vips_out = "/tmp/picture-bench-" + std::to_string(getpid()) + ".v";
    const std::vector<Tool> tools = {
        {"ours", {OURS_LOADER}, true},
        {"pixbuf", {PIXBUF_LOADER}, true},
        {"vips", {"/usr/bin/vipsthumbnail", "--size", "400x300!", "-o", vips_out}, false},
    };
    std::printf("Timing: %d rounds, medians (min - max)\n", runs);
    for (const auto& input : inputs)
        if (input.timed) time_input(input, tools, runs);
    unlink(vips_out.c_str());
    std::printf("Fidelity: mean absolute difference per channel against the full-size decode, at 400x300\n");
    for (const auto& input : inputs) {
        if (input.path.ends_with(".jpg")) report_jpeg_fidelity(input);
        else report_stream_fidelity(input);
    }
    std::printf("PNG checksums\n");
    for (const auto& input : inputs)
        if (input.path.ends_with(".png")) report_checksum_gain(input, 7);
    return 0;
}
