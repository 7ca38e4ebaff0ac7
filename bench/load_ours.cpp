// bench-load-ours FILE: the game's load_picture_file + scale_working_picture +
// cut_tiles once; prints milliseconds and the peak resident memory above the
// process's resident memory before the load, in KiB.
#include <chrono>
#include <cstdio>

#include "bench/peak_memory.h"
#include "media/pictures.h"

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    init_picture_readers();
    create_tile_images();
    reset_peak_memory();
    const long before = resident_kib();
    const auto start = std::chrono::steady_clock::now();
    if (!load_picture_file(argv[1])) return 1;
    scale_working_picture();
    cut_tiles();
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    std::printf("%.3f %ld\n", took.count(), peak_kib() - before);
    return 0;
}
