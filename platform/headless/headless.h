// Control of the headless backend, for tests: no display, a script of input with
// virtual arrival times, a virtual clock, scripted random draws and dialog
// answers, and records of what the program showed, opened and paused.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/core.h"

namespace headless {

// The screen every window is centred on, and the frame added around a framed
// window's client area.
constexpr int SCREEN_WIDTH = 1280;
constexpr int SCREEN_HEIGHT = 1024;
constexpr int FRAME_SIDE = 3;
constexpr int FRAME_TOP = 26;

// end_process throws this instead of ending the test program.
struct ProcessEnded {
    int exit_code;
};
// wait_event without a time-out found the script empty: the program would wait forever.
struct ScriptExhausted {};

enum class Button { LEFT, RIGHT };

struct MessageBoxShown {
    std::string title, text;
    uint32_t at_ms;
};

// Everything back to a fresh process: no windows, images, sounds, script or
// records; clock at 0 with the tick count starting at `first_tick`.
void reset(uint32_t first_tick = 0);

// Script. Each input arrives at virtual time at_ms (since reset) and is taken in
// the order given; wait_event moves the clock on to it.
void click(int window, int x, int y, uint32_t at_ms, Button button = Button::LEFT);
void double_click(int window, int x, int y, uint32_t at_ms, Button button = Button::LEFT);
void press_key(int window, int key, int modifiers, uint32_t at_ms);
void request_close(int window, uint32_t at_ms);
void expose(int window, uint32_t at_ms);
void send(const Message& message, uint32_t at_ms);

// Dialogs: the file chooser's answers, in order ("" once they run out), and how
// long a dialog stays open (input arriving meanwhile goes to the dialog).
void answer_file_chooser(const std::string& path);
void set_dialog_duration(uint32_t milliseconds);
// Called while each message box is open, so a test can look at the screen then.
void on_message_box(const std::function<void(const MessageBoxShown&)>& look);
// Random draws handed out in order; after them, draws from a fixed-seed generator.
void set_draws(const std::vector<int>& draws);
int draws_made();
void set_executable_path(const std::string& path);
// Whether opening a window succeeds.
void set_windows_can_open(bool can_open);

// Runs a body that may end the process; returns the exit code, or nothing if the
// body returned by itself.
std::optional<int> run(const std::function<void()>& body);

// What was seen and done.
uint32_t now_ms();
const std::vector<MessageBoxShown>& message_boxes();
const std::vector<std::string>& file_chooser_titles();
const std::vector<std::string>& file_chooser_filters();
const std::vector<std::string>& opened_addresses();
const std::vector<int>& pauses();
struct Presented {
    int window;
    Rect area;
};
const std::vector<Presented>& presented();
void clear_presented();
const WindowRecord* window(int number);
Colour pixel(int window, int x, int y);
bool platform_released();

}  // namespace headless
