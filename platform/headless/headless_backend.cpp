// The headless backend: windows are records, the framebuffer is the screen, the
// clock is virtual and input comes from the test's script.
#include "platform/headless/headless.h"

#include <deque>
#include <random>

#include "platform/clock.h"
#include "platform/dialog.h"
#include "platform/platform.h"
#include "platform/random.h"
#include "platform/shell.h"
#include "platform/sound.h"

namespace {

struct ScriptedMessage {
    Message message;
    uint32_t at_ms;
};

struct State {
    uint32_t now_ms = 0;
    uint32_t first_tick = 0;
    std::deque<ScriptedMessage> script;
    std::deque<std::string> chooser_answers;
    uint32_t dialog_duration_ms = 0;
    std::deque<int> draws;
    int draws_made = 0;
    std::mt19937 fallback_draws{12345};
    std::string executable_path = "/usr/games/tessaroo";
    bool windows_can_open = true;
    bool released = false;
    std::vector<headless::MessageBoxShown> message_boxes;
    std::function<void(const headless::MessageBoxShown&)> look_at_message_box;
    std::vector<std::string> chooser_titles, chooser_filters;
    std::vector<std::string> opened_addresses;
    std::vector<int> pauses;
    std::vector<headless::Presented> presented;
};

State state;

Message message_of(MessageKind kind, int window, int x = 0, int y = 0) {
    Message message;
    message.kind = kind;
    message.window = window;
    message.x = x;
    message.y = y;
    return message;
}

bool is_input(MessageKind kind) { return kind != MessageKind::EXPOSE; }

// A modal dialog is open for the set duration; input arriving meanwhile goes to it.
void keep_dialog_open() {
    state.now_ms += state.dialog_duration_ms;
    std::erase_if(state.script, [](const ScriptedMessage& m) {
        return m.at_ms <= state.now_ms && is_input(m.message.kind);
    });
}

Message take_scripted() {
    const Message message = state.script.front().message;
    state.now_ms = std::max(state.now_ms, state.script.front().at_ms);
    state.script.pop_front();
    return message;
}

}  // namespace

namespace headless {

void reset(uint32_t first_tick) {
    close_all_windows();
    free_all_images();
    release_sound_output();
    clear_collected_events();
    state = State{};
    state.first_tick = first_tick;
}

void send(const Message& message, uint32_t at_ms) { state.script.push_back({message, at_ms}); }

void click(int window, int x, int y, uint32_t at_ms, Button button) {
    if (button == Button::LEFT) {
        send(message_of(MessageKind::LEFT_DOWN, window, x, y), at_ms);
        send(message_of(MessageKind::LEFT_UP, window, x, y), at_ms);
    } else {
        send(message_of(MessageKind::OTHER, window, x, y), at_ms);  // the press
        send(message_of(MessageKind::RIGHT_UP, window, x, y), at_ms);
    }
}

// A double click arrives as press, release, double click, release.
void double_click(int window, int x, int y, uint32_t at_ms, Button button) {
    click(window, x, y, at_ms, button);
    const MessageKind second = button == Button::LEFT ? MessageKind::LEFT_DOUBLE : MessageKind::OTHER;
    send(message_of(second, window, x, y), at_ms);
    send(message_of(button == Button::LEFT ? MessageKind::LEFT_UP : MessageKind::RIGHT_UP, window,
                    x, y),
         at_ms);
}

void press_key(int window, int key, int modifiers, uint32_t at_ms) {
    Message message = message_of(MessageKind::KEY, window);
    message.key = key;
    message.modifiers = modifiers;
    send(message, at_ms);
}

void request_close(int window, uint32_t at_ms) { send(message_of(MessageKind::CLOSE, window), at_ms); }

void expose(int window, uint32_t at_ms) { send(message_of(MessageKind::EXPOSE, window), at_ms); }

void answer_file_chooser(const std::string& path) { state.chooser_answers.push_back(path); }
void set_dialog_duration(uint32_t milliseconds) { state.dialog_duration_ms = milliseconds; }
void on_message_box(const std::function<void(const MessageBoxShown&)>& look) {
    state.look_at_message_box = look;
}
void set_draws(const std::vector<int>& draws) { state.draws.assign(draws.begin(), draws.end()); }
int draws_made() { return state.draws_made; }
void set_executable_path(const std::string& path) { state.executable_path = path; }
void set_windows_can_open(bool can_open) { state.windows_can_open = can_open; }

std::optional<int> run(const std::function<void()>& body) {
    try {
        body();
    } catch (const ProcessEnded& ended) {
        return ended.exit_code;
    }
    return std::nullopt;
}

uint32_t now_ms() { return state.now_ms; }
const std::vector<MessageBoxShown>& message_boxes() { return state.message_boxes; }
const std::vector<std::string>& file_chooser_titles() { return state.chooser_titles; }
const std::vector<std::string>& file_chooser_filters() { return state.chooser_filters; }
const std::vector<std::string>& opened_addresses() { return state.opened_addresses; }
const std::vector<int>& pauses() { return state.pauses; }
const std::vector<Presented>& presented() { return state.presented; }
void clear_presented() { state.presented.clear(); }
const WindowRecord* window(int number) { return find_window(number); }
bool platform_released() { return state.released; }

Colour pixel(int window, int x, int y) {
    const WindowRecord* record = find_window(window);
    if (!record || x < 0 || y < 0 || x >= record->width || y >= record->height) return {};
    const uint8_t* p = record->framebuffer.data() + (size_t(y) * record->width + x) * 3;
    return {p[0], p[1], p[2]};
}

}  // namespace headless

// Platform services.

bool platform_start() {
    state.released = false;
    return true;
}

void platform_release() {
    close_all_windows();
    free_all_images();
    clear_collected_events();
    state.released = true;
}

void pause_ms(int milliseconds) {
    state.pauses.push_back(milliseconds);
    if (milliseconds > 0) state.now_ms += uint32_t(milliseconds);
}

uint32_t tick_count() { return state.first_tick + state.now_ms; }

int random_draw(int max) {
    ++state.draws_made;
    if (!state.draws.empty()) {
        const int draw = state.draws.front();
        state.draws.pop_front();
        return draw;
    }
    return std::uniform_int_distribution<int>(0, max)(state.fallback_draws);
}

std::string executable_path() { return state.executable_path; }
void open_address(const std::string& address) { state.opened_addresses.push_back(address); }
void end_process(int exit_code) { throw headless::ProcessEnded{exit_code}; }

void message_box(const std::string& title, const std::string& text) {
    state.message_boxes.push_back({title, text, state.now_ms});
    if (state.look_at_message_box) state.look_at_message_box(state.message_boxes.back());
    keep_dialog_open();
}

std::string choose_file(const std::string& title, const std::string& filter) {
    state.chooser_titles.push_back(title);
    state.chooser_filters.push_back(filter);
    keep_dialog_open();
    if (state.chooser_answers.empty()) return "";
    std::string answer = state.chooser_answers.front();
    state.chooser_answers.pop_front();
    return answer;
}

// Backend hooks.

bool backend_open_window(WindowRecord& window) {
    if (!state.windows_can_open) return false;
    const bool framed = window.style == WindowStyle::FRAMED;
    const int outer_width = std::min(window.width + (framed ? 2 * headless::FRAME_SIDE : 0),
                                     headless::SCREEN_WIDTH);
    const int outer_height =
        std::min(window.height + (framed ? headless::FRAME_TOP + headless::FRAME_SIDE : 0),
                 headless::SCREEN_HEIGHT);
    window.outer = {(headless::SCREEN_WIDTH - outer_width) / 2,
                    (headless::SCREEN_HEIGHT - outer_height) / 2, outer_width, outer_height};
    return true;
}

void backend_close_window(WindowRecord&) {}

void backend_resize_client(WindowRecord& window) {
    const bool framed = window.style == WindowStyle::FRAMED;
    window.outer.width = window.width + (framed ? 2 * headless::FRAME_SIDE : 0);
    window.outer.height = window.height + (framed ? headless::FRAME_TOP + headless::FRAME_SIDE : 0);
}

void backend_set_visible(WindowRecord&, bool) {}
void backend_set_icon(WindowRecord&) {}

void backend_present(WindowRecord& window, Rect area) {
    state.presented.push_back({window.number, area});
}

void backend_create_view(WindowRecord&, ViewRecord&) {}
void backend_update_view(ViewRecord&) {}
void backend_destroy_view(ViewRecord&) {}

Colour backend_face_colour() { return {240, 240, 240}; }

Message backend_next_message(int timeout_ms) {
    const bool arrived = !state.script.empty() && state.script.front().at_ms <= state.now_ms;
    if (arrived) return take_scripted();
    if (timeout_ms == WAIT_FOREVER) {
        if (state.script.empty()) throw headless::ScriptExhausted{};
        return take_scripted();
    }
    const uint32_t deadline = state.now_ms + uint32_t(timeout_ms);
    if (!state.script.empty() && state.script.front().at_ms <= deadline) return take_scripted();
    state.now_ms = deadline;
    return {};
}
