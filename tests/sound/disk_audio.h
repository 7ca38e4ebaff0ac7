// Helpers for tests that capture sound with SDL's "disk" audio driver, which
// writes everything the mixer produces (silence included) to a file, in real time.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// Points the next sound output start at the disk driver writing to a fresh file
// named for the process and the running test; gives the file's path. With a delay the driver
// waits that many milliseconds after each buffer instead of the buffer's length.
std::string use_disk_driver(int delay_ms = 0);
// Removes the running test's file, if any.
void remove_disk_output();

// Bytes the driver has written to the file so far.
uintmax_t written_bytes(const std::string& path);

// Waits until the file has grown `bytes` past `from`, plus whatever the driver
// may still hold unwritten in its file buffer. False after a few seconds.
bool wait_for_output(const std::string& path, uintmax_t from, uintmax_t bytes);

// The file as native 16-bit samples.
std::vector<int16_t> read_s16(const std::string& path);

// The output is silence, the whole click, silence: each sample as in the click.
testing::AssertionResult holds_click_once_in_silence(std::span<const int16_t> output,
                                                     std::span<const int16_t> click);

// The output ends with one whole click followed by silence, and everything
// before it is silence or cut-off beginnings of the click: never two clicks
// summed, never the click twice. Gives the samples of cut-off beginnings heard.
testing::AssertionResult holds_one_click_after_restarts(std::span<const int16_t> output,
                                                        std::span<const int16_t> click,
                                                        size_t& cut_off_samples);
