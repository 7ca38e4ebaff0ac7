// The opening demonstration on the headless backend: the walk and its replay for
// given random draws, what the main window is given to show, and the events the
// demonstration takes and ignores.
#include <gtest/gtest.h>

#include <numeric>
#include <vector>

#include "game/board_view.h"
#include "game/flow.h"
#include "media/assets.h"
#include "media/pictures.h"
#include "platform/clock.h"
#include "platform/core.h"
#include "platform/event.h"
#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "rules/board.h"
#include "rules/demonstration.h"

namespace {

constexpr Rect WHOLE_PICTURE{0, 0, PICTURE_WIDTH, PICTURE_HEIGHT};
constexpr Rect TOP_LEFT_TILE{0, 0, TILE_SIZE, TILE_SIZE};
constexpr Colour BLACK{0, 0, 0};
// Column by column, top to bottom within a column.
const std::vector<int> LAYOUT_ORDER = {0, 4, 8, 1, 5, 9, 2, 6, 10, 3, 7, 11};
constexpr int MOVE_COUNT_BEFORE = 7;

Rect cell_rect(int cell) {
    return {CELL_PITCH * column_of(cell), CELL_PITCH * row_of(cell), TILE_SIZE, TILE_SIZE};
}

Board initial_board() {
    Board initial;
    std::iota(initial.begin(), initial.end(), 0);
    return initial;
}

// Draws 0 up, 1 down, 2 right, 3 left. `trail` is the blank's path worked out
// by hand: cell 11, then the cell after each draw that moved it.
struct Walk {
    const char* name;
    std::vector<int> draws;
    std::vector<int> trail;
};

const std::vector<Walk> WALKS = {
    {"all off the grid", {1, 2, 1, 2, 1, 2, 1, 2, 1, 2, 1, 2, 1, 2, 1, 2, 1, 2, 1, 2}, {11}},
    {"back and forth",
     {0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1},
     {11, 7, 11, 7, 11, 7, 11, 7, 11, 7, 11, 7, 11, 7, 11, 7, 11, 7, 11, 7, 11}},
    {"long wander",
     {3, 3, 3, 0, 0, 2, 2, 2, 1, 3, 3, 1, 2, 0, 2, 1, 3, 3, 0, 0},
     {11, 10, 9, 8, 4, 0, 1, 2, 3, 7, 6, 5, 9, 10, 6, 7, 11, 10, 9, 5, 1}},
    // Off-grid draws at every edge; the blank never wraps between 3 and 4.
    {"along the edges",
     {0, 0, 0, 2, 3, 3, 3, 3, 0, 1, 3, 1, 1, 3, 2, 2, 2, 2, 0, 1},
     {11, 7, 3, 2, 1, 0, 4, 8, 9, 10, 11, 7, 11}},
    {"random",
     {2, 1, 3, 0, 0, 0, 2, 0, 1, 0, 0, 3, 3, 0, 1, 0, 3, 0, 0, 1},
     {11, 10, 6, 2, 3, 7, 3, 2, 1, 5, 1, 0, 4}},
};

// What the demonstration pushes to the screen for a walk along `trail`: the
// picture given again and repainted; each tile drawn at the top-left corner
// and the picture repainted over it; two cells per step of the walk; the same
// two cells per step of the replay, last step first (one step on cell 11 when
// nothing moved); the picture at the end.
std::vector<Rect> expected_pushes(const std::vector<int>& trail) {
    std::vector<Rect> pushes = {WHOLE_PICTURE, WHOLE_PICTURE};
    for (size_t i = 0; i < LAYOUT_ORDER.size(); ++i) {
        pushes.push_back(TOP_LEFT_TILE);
        pushes.push_back(WHOLE_PICTURE);
    }
    for (size_t i = 1; i < trail.size(); ++i) {
        pushes.push_back(cell_rect(trail[i - 1]));
        pushes.push_back(cell_rect(trail[i]));
    }
    if (trail.size() == 1) {
        pushes.push_back(cell_rect(BLANK_TILE));
        pushes.push_back(cell_rect(BLANK_TILE));
    }
    for (size_t i = trail.size() - 1; i >= 1; --i) {
        pushes.push_back(cell_rect(trail[i - 1]));
        pushes.push_back(cell_rect(trail[i]));
    }
    pushes.push_back(WHOLE_PICTURE);
    return pushes;
}

std::vector<Rect> pushed_areas() {
    std::vector<Rect> areas;
    for (const headless::Presented& pushed : headless::presented()) {
        EXPECT_EQ(pushed.window, MAIN_WINDOW);
        areas.push_back(pushed.area);
    }
    return areas;
}

// Messages waiting for the event passes to take them; more than any walk takes.
constexpr size_t WAITING_MESSAGES = 60;
const Message OTHER_MESSAGE{MessageKind::OTHER, MAIN_WINDOW};

size_t messages_left() {
    size_t left = 0;
    while (handle_pending_event().kind != EventKind::NONE) ++left;
    return left;
}

Colour colour_at(const Image& picture, int x, int y) {
    const uint8_t* p = picture.pixels.data() + (size_t(y) * picture.width + x) * channels_of(picture);
    return {p[0], p[1], p[2]};
}

// The first pixel where `window` differs from `expected`, as text; "" if none.
template <typename Expected>
std::string first_difference(int window, Expected expected) {
    for (int y = 0; y < PICTURE_HEIGHT; ++y)
        for (int x = 0; x < PICTURE_WIDTH; ++x) {
            const Colour seen = headless::pixel(window, x, y);
            const Colour wanted = expected(x, y);
            if (seen != wanted)
                return testing::PrintToString(std::vector<int>{x, y, seen.red, seen.green, seen.blue,
                                                               wanted.red, wanted.green, wanted.blue});
        }
    return "";
}

Image builtin_picture() {
    auto picture = decode_picture(BuiltinPicture.bytes());
    EXPECT_TRUE(picture);
    return picture ? *picture : Image{};
}

// The main window as the game flow has it when the demonstration starts: the
// built-in picture shown whole in a 400 x 300 client area over twelve empty cell
// views at (0, 0), black tile images, the initial board.
class DemonstrationTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NO_FATAL_FAILURE(prepare()); }
    void TearDown() override { headless::reset(); }

    void prepare() {
        headless::reset();
        ASSERT_TRUE(platform_start());
        move_count = MOVE_COUNT_BEFORE;
        ASSERT_TRUE(open_main_window());
        reset_board();
        create_tile_images();
        create_board_views();
        ASSERT_TRUE(load_builtin_picture());
        show_whole_picture();
        resize_client(PICTURE_WIDTH, PICTURE_HEIGHT);
        redraw_now();
        handle_pending_event();
        pause_ms(START_PAUSE_MS);
        headless::clear_presented();
        pauses_before = headless::pauses().size();
        started_at = headless::now_ms();
    }

    std::vector<int> demonstration_pauses() const {
        const auto& all = headless::pauses();
        return {all.begin() + long(pauses_before), all.end()};
    }

    size_t pauses_before = 0;
    uint32_t started_at = 0;
};

TEST_F(DemonstrationTest, WalkIsPlayedBackToTheInitialBoardWhateverTheDraws) {
    for (const Walk& walk : WALKS) {
        SCOPED_TRACE(walk.name);
        ASSERT_NO_FATAL_FAILURE(prepare());
        ASSERT_EQ(walk.draws.size(), size_t(DEMO_STEPS));
        // Spare draws that would jumble the board if the walk took them.
        std::vector<int> draws = walk.draws;
        draws.insert(draws.end(), {3, 3, 0, 2, 0});
        headless::set_draws(draws);
        for (size_t i = 0; i < WAITING_MESSAGES; ++i) headless::send(OTHER_MESSAGE, 0);

        run_demonstration();

        EXPECT_EQ(board, initial_board());
        EXPECT_EQ(move_count, MOVE_COUNT_BEFORE);
        EXPECT_EQ(headless::draws_made(), DEMO_STEPS);
        const size_t replay_steps = std::max<size_t>(walk.trail.size() - 1, 1);
        EXPECT_EQ(demonstration_pauses(), std::vector<int>(replay_steps, DEMO_STEP_PAUSE_MS));
        // Off-grid draws and the walk itself cost no time; only the replay's pauses do.
        EXPECT_EQ(headless::now_ms() - started_at, replay_steps * DEMO_STEP_PAUSE_MS);
        EXPECT_EQ(pushed_areas(), expected_pushes(walk.trail));
        // One event pass after the first repaint, one after the lay-out, one per
        // moving draw, one per replay step and one at the end: no more, no fewer.
        const size_t passes = 3 + (walk.trail.size() - 1) + replay_steps;
        EXPECT_EQ(messages_left(), WAITING_MESSAGES - passes);
    }
}

// On return the picture is what is seen; under it every cell view is at its
// place showing its own tile, cut from the built-in picture, and cell 11 black.
TEST_F(DemonstrationTest, EndsShowingTheWholePictureOverTheLaidOutBoard) {
    headless::set_draws(WALKS[2].draws);
    const Image picture = builtin_picture();
    ASSERT_EQ(picture.width, PICTURE_WIDTH);
    ASSERT_EQ(picture.height, PICTURE_HEIGHT);

    run_demonstration();

    EXPECT_EQ(first_difference(MAIN_WINDOW, [&](int x, int y) { return colour_at(picture, x, y); }), "");
    for (int cell = 0; cell < CELL_COUNT; ++cell) {
        SCOPED_TRACE(cell);
        EXPECT_EQ(view_rect(cell), cell_rect(cell));
        const ViewRecord* view = find_view(cell);
        ASSERT_TRUE(view && view->picture);
        for (int y : {0, 41, TILE_SIZE - 1})
            for (int x : {0, 63, TILE_SIZE - 1}) {
                const Colour wanted = cell == BLANK_TILE
                                          ? BLACK
                                          : colour_at(picture, cell_rect(cell).x + x, cell_rect(cell).y + y);
                EXPECT_EQ(colour_at(*view->picture, x, y), wanted) << x << "," << y;
            }
    }
    EXPECT_EQ(view_rect(PICTURE_VIEW), WHOLE_PICTURE);

    // Taken away, the picture uncovers the board: tiles home, black square in
    // cell 11, the window's face colour in the 2-pixel gaps.
    remove_picture_view();
    redraw_now();
    const Colour face = face_colour();
    EXPECT_EQ(first_difference(MAIN_WINDOW,
                               [&](int x, int y) {
                                   if (x % CELL_PITCH >= TILE_SIZE || y % CELL_PITCH >= TILE_SIZE)
                                       return face;
                                   const int cell = x / CELL_PITCH + GRID_COLUMNS * (y / CELL_PITCH);
                                   return cell == BLANK_TILE ? BLACK : colour_at(picture, x, y);
                               }),
              "");
}

// Events already waiting when the demonstration runs are taken by its event
// passes and have no effect: it runs exactly as without them and leaves
// nothing pending.
TEST_F(DemonstrationTest, EventsTakenMeanwhileChangeNothing) {
    const Walk& walk = WALKS[1];
    headless::set_draws(walk.draws);
    headless::request_close(MAIN_WINDOW, 0);
    headless::click(MAIN_WINDOW, 150, 150, 0);
    headless::click(MAIN_WINDOW, 350, 250, 0, headless::Button::RIGHT);
    headless::double_click(MAIN_WINDOW, 50, 50, 0);
    headless::press_key(MAIN_WINDOW, KEY_ESCAPE, MODIFIER_NONE, 0);
    headless::press_key(MAIN_WINDOW, 'P', MODIFIER_CTRL, 0);
    // Arriving during the replay.
    headless::request_close(MAIN_WINDOW, started_at + 1000);
    headless::click(MAIN_WINDOW, 250, 150, started_at + 2100);
    headless::request_close(MAIN_WINDOW, started_at + 3000);

    run_demonstration();

    EXPECT_TRUE(headless::window(MAIN_WINDOW));
    EXPECT_EQ(board, initial_board());
    EXPECT_EQ(move_count, MOVE_COUNT_BEFORE);
    EXPECT_EQ(demonstration_pauses(), std::vector<int>(DEMO_STEPS, DEMO_STEP_PAUSE_MS));
    EXPECT_EQ(pushed_areas(), expected_pushes(walk.trail));
    EXPECT_EQ(messages_left(), 0u);
}

struct RunScript {
    const char* name;
    void (*script)();
    uint32_t ended_at;          // virtual time when the run stopped
    size_t choosers_opened;     // 0: the run stopped at the first-click wait
};

// The whole run from start-up: the demonstration (50 ms of start-up, then 20
// replay steps of 200 ms: over at 4050 ms) and the wait for the first click.
TEST(DemonstrationInTheRun, OnlyEventsLeftPendingReachTheFirstClickWait) {
    const std::vector<RunScript> scripts = {
        {"close and clicks at 0 are eaten, a close after the end stops the run",
         [] {
             headless::request_close(MAIN_WINDOW, 0);
             headless::click(MAIN_WINDOW, 200, 150, 0);
             headless::click(MAIN_WINDOW, 200, 150, 0, headless::Button::RIGHT);
             headless::press_key(MAIN_WINDOW, KEY_ESCAPE, MODIFIER_NONE, 0);
             headless::click(MAIN_WINDOW, 10, 10, 0);
             headless::request_close(MAIN_WINDOW, 5000);
         },
         5000, 0},
        {"a close during the replay is eaten, a later click opens the chooser",
         [] {
             headless::request_close(MAIN_WINDOW, 1000);
             headless::click(MAIN_WINDOW, 200, 150, 6000);
         },
         6000, 1},
    };
    for (const RunScript& run : scripts) {
        SCOPED_TRACE(run.name);
        headless::reset();
        headless::set_draws(WALKS[1].draws);
        run.script();

        EXPECT_EQ(headless::run(run_game), 0);

        EXPECT_EQ(headless::now_ms(), run.ended_at);
        EXPECT_EQ(headless::draws_made(), DEMO_STEPS);
        EXPECT_EQ(headless::file_chooser_titles().size(), run.choosers_opened);
        EXPECT_TRUE(headless::message_boxes().empty());
        EXPECT_TRUE(headless::platform_released());
    }
    headless::reset();
}

}  // namespace
