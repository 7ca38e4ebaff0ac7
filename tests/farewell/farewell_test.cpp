// The farewell window on the headless backend with its virtual clock: the
// countdown, every way out and what it hands to the browser, the window and its
// views.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "farewell/farewell.h"
#include "game/board_view.h"
#include "game/flow.h"
#include "media/assets.h"
#include "media/pictures.h"
#include "platform/core.h"
#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "rules/board.h"

namespace {

constexpr uint32_t LIMIT_MS = 30000;
constexpr uint32_t LAST_POSSIBLE_END_MS = LIMIT_MS + COUNTDOWN_WAIT_MS;
const std::string HOME_PAGE = "http://www.corvenna.example";
// Tick counts at the start that wrap after 15 s, and after 1 ms.
const std::vector<uint32_t> FIRST_TICKS = {0, 0xFFFFFFFFu - 14999, 0xFFFFFFFFu};

std::string donation_page(const std::string& encoded_item) {
    return "https://www.paypal.com/xclick/business=donate%40corvenna.example"
           "&item_name=Donation%20for%20" +
           encoded_item + "&no_note=1&tax=0&no_shipping=1&currency_code=USD";
}

// A button or link reporting its click, as the system's views do.
void press(int view, uint32_t at_ms) {
    Message message;
    message.kind = MessageKind::CONTROL_CLICK;
    message.view = view;
    headless::send(message, at_ms);
}

void other_message(uint32_t at_ms) {
    Message message;
    message.kind = MessageKind::OTHER;
    message.window = FAREWELL_WINDOW;
    headless::send(message, at_ms);
}

// A close request long after the countdown should have ended: if the run is
// still going then, run_farewell returns instead of the test hanging.
void backstop() { headless::request_close(FAREWELL_WINDOW, 2 * LIMIT_MS); }

// Fresh process with the platform started; the main window is already closed,
// as at the end of a game given up.
void start(uint32_t first_tick = 0) {
    headless::reset(first_tick);
    ASSERT_TRUE(platform_start());
}

// The main window as a solved game leaves it: the board laid out and the whole
// picture made anew over it.
void open_solved_main_window() {
    ASSERT_TRUE(open_main_window());
    reset_board();
    create_tile_images();
    create_board_views();
    ASSERT_TRUE(load_builtin_picture());
    cut_tiles();
    lay_out_board();
    create_picture_view(PICTURE_WIDTH, PICTURE_HEIGHT);
    redraw_now();
}

class FarewellTest : public ::testing::Test {
protected:
    void TearDown() override { headless::reset(); }
};

// Whatever the tick count does meanwhile, the run ends on the first pass after
// 30 s and not at exactly 30 s, opening nothing.
TEST_F(FarewellTest, WithoutInputTheRunEndsOnTheFirstPassAfterThirtySeconds) {
    struct Case {
        const char* name;
        std::vector<uint32_t> other_messages;
        uint32_t ends_at;
    };
    const std::vector<Case> cases = {
        {"nothing at all", {}, LAST_POSSIBLE_END_MS},
        {"passes at 29999, 30000, 30001", {29999, 30000, 30001}, 30001},
        {"a pass every 7 s", {7000, 14000, 21000, 28000}, LAST_POSSIBLE_END_MS},
    };
    for (uint32_t first_tick : FIRST_TICKS)
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << c.name << ", first tick " << first_tick);
            ASSERT_NO_FATAL_FAILURE(start(first_tick));
            for (uint32_t at : c.other_messages) other_message(at);
            backstop();

            EXPECT_EQ(headless::run(run_farewell), 0);

            EXPECT_GT(headless::now_ms(), LIMIT_MS);
            EXPECT_LE(headless::now_ms(), LAST_POSSIBLE_END_MS);
            EXPECT_EQ(headless::now_ms(), c.ends_at);
            EXPECT_TRUE(headless::opened_addresses().empty());
            EXPECT_TRUE(headless::platform_released());
            EXPECT_FALSE(headless::window(FAREWELL_WINDOW));
        }
}

// The figure is refreshed before a close request is looked at, and the close
// request returns with the window still open: so a close at a chosen moment
// shows the figure of that moment.
TEST_F(FarewellTest, CountdownFigureRunsFromThirtyToOne) {
    const std::vector<std::pair<uint32_t, std::string>> figures = {
        {0, "30"},     {999, "30"},   {1000, "29"},  {1001, "29"}, {14999, "16"},
        {15000, "15"}, {15001, "15"}, {28999, "2"},  {29000, "1"}, {29999, "1"},
        {30000, "0"},  // the limit is not passed yet: the only moment "0" shows
    };
    for (uint32_t first_tick : FIRST_TICKS)
        for (const auto& [at, figure] : figures) {
            SCOPED_TRACE(testing::Message() << at << " ms, first tick " << first_tick);
            ASSERT_NO_FATAL_FAILURE(start(first_tick));
            headless::request_close(FAREWELL_WINDOW, at);

            EXPECT_EQ(headless::run(run_farewell), std::nullopt);

            EXPECT_EQ(headless::now_ms(), at);
            const ViewRecord* countdown = find_view(COUNTDOWN_TEXT);
            ASSERT_TRUE(countdown);
            EXPECT_EQ(countdown->text, figure);
            EXPECT_TRUE(headless::window(FAREWELL_WINDOW));
            EXPECT_TRUE(headless::opened_addresses().empty());
        }

    // Just after the limit the time check comes first: the close request ends
    // the run like the countdown.
    ASSERT_NO_FATAL_FAILURE(start());
    headless::request_close(FAREWELL_WINDOW, LIMIT_MS + 1);
    EXPECT_EQ(headless::run(run_farewell), 0);
    EXPECT_EQ(headless::now_ms(), LIMIT_MS + 1);
}

// Each way out by a view or a key ends the run the moment it arrives; only the
// logo, the link and Donate hand an address to the browser.
TEST_F(FarewellTest, ClicksAndKeysEndTheRunAtOnce) {
    constexpr uint32_t AT = 5000;
    struct Case {
        const char* name;
        void (*script)();
        std::vector<std::string> opened;
        uint32_t ends_at;
    };
    const std::vector<Case> cases = {
        {"Ok pressed", [] { press(OK_BUTTON, AT); }, {}, AT},
        {"Ok clicked at its place", [] { headless::click(FAREWELL_WINDOW, 185, 255, AT); }, {}, AT},
        {"Return", [] { headless::press_key(FAREWELL_WINDOW, KEY_RETURN, MODIFIER_NONE, AT); }, {}, AT},
        {"Space", [] { headless::press_key(FAREWELL_WINDOW, KEY_SPACE, MODIFIER_NONE, AT); }, {}, AT},
        {"Esc", [] { headless::press_key(FAREWELL_WINDOW, KEY_ESCAPE, MODIFIER_NONE, AT); }, {}, AT},
        {"logo pressed", [] { press(LOGO_BUTTON, AT); }, {HOME_PAGE}, AT},
        {"logo clicked at its place", [] { headless::click(FAREWELL_WINDOW, 68, 88, AT); }, {HOME_PAGE}, AT},
        {"link pressed", [] { press(MAKER_LINK, AT); }, {HOME_PAGE}, AT},
        {"link clicked at its place", [] { headless::click(FAREWELL_WINDOW, 150, 140, AT); }, {HOME_PAGE}, AT},
        {"Donate pressed", [] { press(DONATE_BUTTON, AT); }, {donation_page("tess")}, AT},
        {"Donate clicked at its place",
         [] { headless::click(FAREWELL_WINDOW, 68, 195, AT); },
         {donation_page("tess")},
         AT},
        // Arrives after the limit, before the pass that would notice it.
        {"logo pressed just after 30 s", [] { press(LOGO_BUTTON, LIMIT_MS + 50); }, {HOME_PAGE}, LIMIT_MS + 50},
        // Texts, the frame and the background report nothing: the countdown runs out.
        {"greeting clicked",
         [] { headless::click(FAREWELL_WINDOW, 230, 70, AT); },
         {},
         LAST_POSSIBLE_END_MS},
        {"frame clicked beside the buttons",
         [] { headless::click(FAREWELL_WINDOW, 10, 150, AT); },
         {},
         LAST_POSSIBLE_END_MS},
        {"countdown figure clicked",
         [] { headless::click(FAREWELL_WINDOW, 20, 265, AT); },
         {},
         LAST_POSSIBLE_END_MS},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NO_FATAL_FAILURE(start());
        c.script();
        backstop();

        EXPECT_EQ(headless::run(run_farewell), 0);

        EXPECT_EQ(headless::now_ms(), c.ends_at);
        EXPECT_EQ(headless::opened_addresses(), c.opened);
        EXPECT_TRUE(headless::platform_released());
    }
}

// The item name is the program file's name less its last four characters,
// percent-encoded but for RFC 3986's unreserved characters.
TEST_F(FarewellTest, DonationAddressCarriesTheProgramFileName) {
    const std::vector<std::pair<std::string, std::string>> items = {
        {"/usr/games/tessaroo", "tess"},
        {"C:\\Games\\Tessaroo.exe", "Tessaroo"},
        {"tessaroo.exe", "tessaroo"},
        {"/opt/Corner Games/Tile & Co #1?100%.exe", "Tile%20%26%20Co%20%231%3F100%25"},
        {"C:\\Games/sub\\my-game_v1.2~b.exe", "my-game_v1.2~b"},
        {"/usr/bin/a+b=c;d:e@f,g!$'()*[].exe", "a%2Bb%3Dc%3Bd%3Ae%40f%2Cg%21%24%27%28%29%2A%5B%5D"},
        {"/usr/bin/P\xC3\xA9zzle.bin", "P%C3%A9zzle"},
        {"/usr/bin/a.exe", "a"},
        {"/usr/bin/abcd", ""},
        {"C:\\a.ex", ""},
        {"/usr/bin/x", ""},
        {"/usr/bin/", ""},
        {"", ""},
    };
    for (const auto& [path, item] : items) {
        SCOPED_TRACE(path);
        ASSERT_NO_FATAL_FAILURE(start());
        headless::set_executable_path(path);
        press(DONATE_BUTTON, 2000);

        EXPECT_EQ(headless::run(run_farewell), 0);

        EXPECT_EQ(headless::opened_addresses(), std::vector<std::string>{donation_page(item)});
        EXPECT_EQ(headless::now_ms(), 2000u);
    }
}

// After solving, the main window stays open under the farewell window: a click
// on its picture, Ctrl+P or Esc there ends the run like Ok; its close box, like
// the farewell window's, is a close request: run_farewell returns.
TEST_F(FarewellTest, AfterSolvingTheMainWindowsEventsCountToo) {
    constexpr uint32_t AT = 8000;
    struct Case {
        const char* name;
        void (*script)();
        std::optional<int> exit_code;  // nothing: run_farewell returned
    };
    const std::vector<Case> cases = {
        {"picture clicked", [] { headless::click(MAIN_WINDOW, 250, 150, AT); }, 0},
        {"picture right-clicked",
         [] { headless::click(MAIN_WINDOW, 250, 150, AT, headless::Button::RIGHT); },
         0},
        {"Ctrl+P", [] { headless::press_key(MAIN_WINDOW, 'P', MODIFIER_CTRL, AT); }, 0},
        {"Esc", [] { headless::press_key(MAIN_WINDOW, KEY_ESCAPE, MODIFIER_NONE, AT); }, 0},
        {"main window's close box", [] { headless::request_close(MAIN_WINDOW, AT); }, std::nullopt},
        {"farewell window closed", [] { headless::request_close(FAREWELL_WINDOW, AT); }, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NO_FATAL_FAILURE(start());
        ASSERT_NO_FATAL_FAILURE(open_solved_main_window());
        c.script();

        EXPECT_EQ(headless::run(run_farewell), c.exit_code);

        EXPECT_EQ(headless::now_ms(), AT);
        EXPECT_TRUE(headless::opened_addresses().empty());
        EXPECT_EQ(headless::window(MAIN_WINDOW) != nullptr, !c.exit_code.has_value());
    }

    // In the solved ending the stop follows a close request at once.
    ASSERT_NO_FATAL_FAILURE(start());
    ASSERT_NO_FATAL_FAILURE(open_solved_main_window());
    headless::request_close(MAIN_WINDOW, AT);
    EXPECT_EQ(headless::run(celebrate_solved), 0);
    EXPECT_EQ(headless::now_ms(), AT);
    ASSERT_EQ(headless::message_boxes().size(), 1u);
    EXPECT_EQ(headless::message_boxes()[0].title, "Congratulations");
    EXPECT_TRUE(headless::opened_addresses().empty());
    EXPECT_TRUE(headless::platform_released());
}

// Without its window the countdown still runs out, and nothing of the window
// is built: no views, and images 0 and 1 keep what they held.
TEST_F(FarewellTest, WindowThatCannotOpenStillEndsTheRun) {
    ASSERT_NO_FATAL_FAILURE(start());
    create_tile_images();
    headless::set_windows_can_open(false);
    build_farewell_window();
    EXPECT_FALSE(headless::window(FAREWELL_WINDOW));
    for (int view = FAREWELL_FRAME; view <= COUNTDOWN_TEXT; ++view) EXPECT_FALSE(find_view(view)) << view;
    EXPECT_EQ(image_width(LOGO_IMAGE), TILE_SIZE);
    EXPECT_EQ(image_width(DONATE_IMAGE), TILE_SIZE);

    ASSERT_NO_FATAL_FAILURE(start());
    headless::set_windows_can_open(false);
    backstop();
    EXPECT_EQ(headless::run(run_farewell), 0);
    EXPECT_GT(headless::now_ms(), LIMIT_MS);
    EXPECT_LE(headless::now_ms(), LAST_POSSIBLE_END_MS);
    EXPECT_TRUE(headless::opened_addresses().empty());

    // After solving, the main window's events still end it early.
    ASSERT_NO_FATAL_FAILURE(start());
    ASSERT_NO_FATAL_FAILURE(open_solved_main_window());
    headless::set_windows_can_open(false);
    headless::press_key(MAIN_WINDOW, KEY_ESCAPE, MODIFIER_NONE, 4000);
    EXPECT_EQ(headless::run(run_farewell), 0);
    EXPECT_EQ(headless::now_ms(), 4000u);
}

struct ExpectedView {
    int number;
    ViewKind kind;
    Rect place;
    std::string text;
    bool centred;
};

TEST_F(FarewellTest, WindowHoldsItsViewsAndShortcuts) {
    ASSERT_NO_FATAL_FAILURE(start());
    build_farewell_window();

    const WindowRecord* window = headless::window(FAREWELL_WINDOW);
    ASSERT_TRUE(window);
    EXPECT_EQ(window->style, WindowStyle::BORDERLESS);
    EXPECT_EQ(window->title, "");
    EXPECT_EQ(window->width, 360);
    EXPECT_EQ(window->height, 295);
    EXPECT_EQ(window->outer, (Rect{(headless::SCREEN_WIDTH - 360) / 2,
                                   (headless::SCREEN_HEIGHT - 295) / 2, 360, 295}));

    const std::vector<ExpectedView> expected = {
        {FAREWELL_FRAME, ViewKind::FRAME, {5, 10, 350, 270}, "Corvenna freeware", false},
        {OK_BUTTON, ViewKind::PUSH_BUTTON, {155, 240, 60, 30}, "Ok", false},
        {LOGO_BUTTON, ViewKind::IMAGE_BUTTON, {15, 30, 107, 116}, "", false},
        {DONATE_BUTTON, ViewKind::IMAGE_BUTTON, {15, 165, 107, 61}, "", false},
        {GREETING_TEXT, ViewKind::TEXT, {125, 30, 210, 95},
         "Hope you found this program enjoyable, useful and easy to use. Corvenna provides a "
         "range of software including accounting, web and educational software.",
         true},
        {MAKER_LINK, ViewKind::HYPERLINK, {135, 130, 195, 20}, "www.corvenna.example", false},
        {DONATE_TEXT, ViewKind::TEXT, {125, 160, 210, 65},
         "If you would like to donate via Paypal any amount to help develop more free "
         "software applications, click Donate.",
         true},
        {COUNTDOWN_TEXT, ViewKind::TEXT, {15, 260, 20, 15}, "30", false},
    };
    const std::vector<ViewRecord*> views = views_of(FAREWELL_WINDOW);
    ASSERT_EQ(views.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(expected[i].number);
        EXPECT_EQ(views[i]->number, expected[i].number);
        EXPECT_EQ(views[i]->kind, expected[i].kind);
        EXPECT_EQ(views[i]->place, expected[i].place);
        EXPECT_EQ(views[i]->text, expected[i].text);
        EXPECT_EQ(views[i]->centred, expected[i].centred);
    }
    const ViewRecord* link = find_view(MAKER_LINK);
    EXPECT_EQ(link->hover, (Colour{0, 0, 255}));
    EXPECT_TRUE(link->underline);

    // The buttons keep the decoded pictures, which are also images 0 and 1.
    const std::vector<std::pair<int, const ByteBlock*>> pictures = {
        {LOGO_BUTTON, &LogoPicture}, {DONATE_BUTTON, &DonatePicture}};
    for (const auto& [button, block] : pictures) {
        SCOPED_TRACE(button);
        const auto decoded = decode_picture(block->bytes());
        ASSERT_TRUE(decoded);
        const ViewRecord* view = find_view(button);
        ASSERT_TRUE(view->picture);
        EXPECT_EQ(view->picture->width, decoded->width);
        EXPECT_EQ(view->picture->height, decoded->height);
        EXPECT_TRUE(view->picture->pixels == decoded->pixels);
        const int image = button == LOGO_BUTTON ? LOGO_IMAGE : DONATE_IMAGE;
        EXPECT_EQ(image_at(image), view->picture);
    }
    EXPECT_EQ(find_view(LOGO_BUTTON)->picture->width, 92);
    EXPECT_EQ(find_view(LOGO_BUTTON)->picture->height, 100);
    EXPECT_EQ(find_view(DONATE_BUTTON)->picture->width, 107);
    EXPECT_EQ(find_view(DONATE_BUTTON)->picture->height, 61);

    std::vector<std::vector<int>> shortcuts;
    for (const Shortcut& s : window->shortcuts) shortcuts.push_back({s.key, s.modifiers, s.number});
    EXPECT_EQ(shortcuts, (std::vector<std::vector<int>>{{KEY_RETURN, MODIFIER_NONE, OK_BUTTON},
                                                        {KEY_SPACE, MODIFIER_NONE, OK_BUTTON},
                                                        {KEY_ESCAPE, MODIFIER_NONE, OK_BUTTON}}));
}

}  // namespace
