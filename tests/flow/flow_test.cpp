// Whole runs of the game on the headless backend, each a short script of what a
// player does, checked by what the player is shown and how the run ends.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "farewell/farewell.h"
#include "game/board_view.h"
#include "game/flow.h"
#include "game/messages.h"
#include "media/pictures.h"
#include "platform/headless/headless.h"
#include "rules/board.h"
#include "rules/demonstration.h"

namespace {

constexpr uint32_t AFTER_DEMO = 100000;  // well after the demonstration's pauses

// The fixture picture: each tile's square a flat colour of its own, the strips
// and the square no tile carries in another.
Colour square_colour(int column, int row) {
    return {uint8_t(40 + 60 * column), uint8_t(40 + 80 * row), uint8_t(200 - 40 * column)};
}
constexpr Colour UNCUT{250, 250, 0};

Colour picture_colour(int x, int y, int width, int height) {
    x = x * 400 / width;
    y = y * 300 / height;
    const int column = x / 100, row = y / 100;
    if (x % 100 >= 98 || y % 100 >= 98 || (column == 3 && row == 2)) return UNCUT;
    return square_colour(column, row);
}

// A 24-bit Windows bitmap: bottom-up rows padded to four bytes.
void write_bitmap(const std::string& path, int width, int height) {
    const int row_size = (width * 3 + 3) / 4 * 4;
    const uint32_t data_size = uint32_t(row_size * height);
    std::vector<uint8_t> file(54 + data_size, 0);
    auto put32 = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) file[at + i] = uint8_t(v >> (8 * i));
    };
    file[0] = 'B';
    file[1] = 'M';
    put32(2, uint32_t(file.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, uint32_t(width));
    put32(22, uint32_t(height));
    file[26] = 1;
    file[28] = 24;
    put32(34, data_size);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const Colour c = picture_colour(x, y, width, height);
            uint8_t* p = &file[54 + size_t(height - 1 - y) * row_size + size_t(x) * 3];
            p[0] = c.blue;
            p[1] = c.green;
            p[2] = c.red;
        }
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(file.data()), file.size());
}

// 20 demonstration draws that move nothing, then the scramble's 500: the given
// moving draws, then a draw that points off the grid from where they leave the blank.
void set_game_draws(const std::vector<int>& scramble_moves, int off_grid_draw) {
    std::vector<int> draws(DEMO_STEPS, 1);
    draws.insert(draws.end(), scramble_moves.begin(), scramble_moves.end());
    draws.resize(DEMO_STEPS + SCRAMBLE_STEPS, off_grid_draw);
    headless::set_draws(draws);
}

struct Point {
    int x, y;
};
Point centre_of(int cell) { return {100 * column_of(cell) + 49, 100 * row_of(cell) + 49}; }

class FlowTest : public ::testing::Test {
protected:
    std::filesystem::path folder;
    std::string picture;

    void SetUp() override {
        headless::reset();
        folder = std::filesystem::temp_directory_path() /
                 ("tessaroo-flow-" + std::to_string(::getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(folder);
        picture = (folder / "photo.bmp").string();
        write_bitmap(picture, 400, 300);
    }
    void TearDown() override {
        headless::on_message_box(nullptr);
        std::filesystem::remove_all(folder);
    }

    // The first click on the built-in picture, answered with `path`.
    void choose(const std::string& path, uint32_t at = AFTER_DEMO) {
        headless::click(MAIN_WINDOW, 200, 150, at);
        headless::answer_file_chooser(path);
    }
    void click_cell(int cell, uint32_t at) {
        headless::click(MAIN_WINDOW, centre_of(cell).x, centre_of(cell).y, at);
    }
    std::optional<int> run() { return headless::run(run_game); }
    std::vector<std::string> titles() {
        std::vector<std::string> result;
        for (const auto& box : headless::message_boxes()) result.push_back(box.title);
        return result;
    }
};

TEST_F(FlowTest, CloseWhileWaitingForTheFirstClickEndsSilently) {
    headless::request_close(MAIN_WINDOW, AFTER_DEMO);
    EXPECT_EQ(run(), 0);
    EXPECT_TRUE(headless::message_boxes().empty());
    EXPECT_TRUE(headless::file_chooser_titles().empty());
    EXPECT_TRUE(headless::platform_released());
    EXPECT_FALSE(window_exists(MAIN_WINDOW));
}

TEST_F(FlowTest, ShortcutsBeforeTheFirstClickAreIgnored) {
    headless::press_key(MAIN_WINDOW, 'P', MODIFIER_CTRL, AFTER_DEMO);
    headless::press_key(MAIN_WINDOW, KEY_ESCAPE, MODIFIER_NONE, AFTER_DEMO + 1);
    EXPECT_THROW(run(), headless::ScriptExhausted);  // still waiting for a click
    EXPECT_TRUE(headless::file_chooser_titles().empty());
    EXPECT_TRUE(headless::message_boxes().empty());
}

TEST_F(FlowTest, RightClickOpensTheChooserAndCancelEndsSilently) {
    headless::click(MAIN_WINDOW, 390, 290, AFTER_DEMO, headless::Button::RIGHT);
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(headless::file_chooser_titles(), std::vector<std::string>{"Choose a picture"});
    EXPECT_EQ(headless::file_chooser_filters(),
              std::vector<std::string>{"Images Formats|*.jpg;*.png;*.bmp"});
    EXPECT_TRUE(headless::message_boxes().empty());
}

TEST_F(FlowTest, AFileThatDoesNotLoadEndsSilently) {
    const std::string text = (folder / "notes.jpg").string();
    std::ofstream(text) << "not a picture at all\n";
    for (const std::string& path : {text, (folder / "missing.png").string(), folder.string()}) {
        headless::reset();
        choose(path);
        EXPECT_EQ(run(), 0) << path;
        EXPECT_TRUE(headless::message_boxes().empty()) << path;
        EXPECT_EQ(headless::file_chooser_titles().size(), 1u);
    }
}

TEST_F(FlowTest, MainWindowThatCannotOpenEndsSilently) {
    headless::set_windows_can_open(false);
    EXPECT_EQ(run(), 0);
    EXPECT_TRUE(headless::message_boxes().empty());
}

// The scramble moves the blank once to the left; one click on cell 11 solves it.
TEST_F(FlowTest, OneMoveWinShowsThePictureAndCongratulates) {
    set_game_draws({3}, 1);
    choose(picture);
    click_cell(11, AFTER_DEMO + 10);
    bool picture_shown = false;
    headless::on_message_box([&](const headless::MessageBoxShown& box) {
        if (box.title != "Congratulations") return;
        // The square no tile carries shows: the whole picture covers the board.
        picture_shown = headless::pixel(MAIN_WINDOW, 350, 250) == UNCUT &&
                        headless::pixel(MAIN_WINDOW, 50, 50) == square_colour(0, 0);
    });
    EXPECT_EQ(run(), 0);
    ASSERT_EQ(titles(), (std::vector<std::string>{"Puzzle Time", "Congratulations"}));
    EXPECT_EQ(headless::message_boxes()[0].text, INSTRUCTIONS_TEXT);
    EXPECT_EQ(headless::message_boxes()[1].text, "You have solved the tessaroo\nin 1 moves!");
    EXPECT_TRUE(picture_shown);
    // The farewell window counted down its 30 seconds, untouched.
    EXPECT_GE(headless::now_ms(), headless::message_boxes()[1].at_ms + 30000);
}

// Blank 11 -> 10 -> 9 -> 5 -> 4, undone by four clicks; clicks on the blank and
// on a tile that does not touch it change nothing and do not count.
TEST_F(FlowTest, SolvedByComputedMovesCountsOnlyRealMoves) {
    set_game_draws({3, 3, 0, 3}, 3);
    choose(picture);
    uint32_t t = AFTER_DEMO + 10;
    click_cell(4, t++);   // the blank
    click_cell(11, t++);  // far from it
    for (int cell : {5, 9, 10, 11}) click_cell(cell, t++);
    EXPECT_EQ(run(), 0);
    ASSERT_EQ(titles().back(), "Congratulations");
    EXPECT_EQ(headless::message_boxes().back().text, "You have solved the tessaroo\nin 4 moves!");
}

TEST_F(FlowTest, EscAndTheCloseBoxGiveUpWithTheCountSoFar) {
    struct Case {
        const char* name;
        int moves;
        bool close_box;
    };
    for (const Case c : {Case{"esc", 0, false}, Case{"close box", 1, true}, Case{"esc", 1, false}}) {
        SCOPED_TRACE(c.name);
        headless::reset();
        set_game_draws({3, 3}, 1);  // blank at 9
        choose(picture);
        uint32_t t = AFTER_DEMO + 10;
        if (c.moves) click_cell(10, t++);
        if (c.close_box)
            headless::request_close(MAIN_WINDOW, t++);
        else
            headless::press_key(MAIN_WINDOW, KEY_ESCAPE, MODIFIER_NONE, t++);
        bool main_window_behind = false;
        headless::on_message_box([&](const headless::MessageBoxShown& box) {
            if (box.title == "Goodbye") main_window_behind = window_exists(MAIN_WINDOW);
        });
        const uint32_t farewell_return = t + 1000;
        headless::press_key(FAREWELL_WINDOW, KEY_RETURN, MODIFIER_NONE, farewell_return);
        EXPECT_EQ(run(), 0);
        ASSERT_EQ(titles(), (std::vector<std::string>{"Puzzle Time", "Goodbye"}));
        EXPECT_EQ(headless::message_boxes()[1].text,
                  "     Better luck next time...\nyou are giving up after " +
                      std::to_string(c.moves) + " moves!");
        EXPECT_TRUE(main_window_behind);
        // Return on the farewell window ended the run at once: it was open.
        EXPECT_EQ(headless::now_ms(), farewell_return);
    }
}

TEST_F(FlowTest, PeekLeavesBoardAndCountAloneAndDefersAClick) {
    set_game_draws({3}, 1);  // blank at 10
    choose(picture);
    const uint32_t t = AFTER_DEMO + 10;
    headless::press_key(MAIN_WINDOW, 'P', MODIFIER_CTRL, t);
    click_cell(6, t + 500);  // during the look: handled after it
    headless::press_key(MAIN_WINDOW, KEY_ESCAPE, MODIFIER_NONE, t + 2500);
    Board board_at_goodbye{};
    bool picture_view_gone = false;
    headless::on_message_box([&](const headless::MessageBoxShown& box) {
        if (box.title != "Goodbye") return;
        board_at_goodbye = board;
        picture_view_gone = !view_rect(PICTURE_VIEW);
    });
    headless::press_key(FAREWELL_WINDOW, KEY_RETURN, MODIFIER_NONE, t + 3000);
    EXPECT_EQ(run(), 0);
    const auto& pauses = headless::pauses();
    EXPECT_NE(std::find(pauses.begin(), pauses.end(), PEEK_PAUSE_MS), pauses.end());
    EXPECT_EQ(headless::message_boxes().back().text,
              "     Better luck next time...\nyou are giving up after 1 moves!");
    EXPECT_EQ(board_at_goodbye[6], BLANK_TILE);
    EXPECT_EQ(board_at_goodbye[10], 6);
    EXPECT_TRUE(picture_view_gone);
}

TEST_F(FlowTest, PortraitPictureIsPlayedStretchedIn400By320) {
    const std::string portrait = (folder / "portrait.bmp").string();
    write_bitmap(portrait, 300, 400);
    choose(portrait);
    int width = 0, height = 0, picture_width = 0, picture_height = 0;
    headless::on_message_box([&](const headless::MessageBoxShown&) {
        width = client_width(MAIN_WINDOW);
        height = client_height(MAIN_WINDOW);
        picture_width = image_width(WORKING_PICTURE);
        picture_height = image_height(WORKING_PICTURE);
    });
    EXPECT_THROW(run(), headless::ScriptExhausted);  // playing, waiting for a move
    EXPECT_EQ(width, 400);
    EXPECT_EQ(height, 320);
    EXPECT_EQ(picture_width, 400);
    EXPECT_EQ(picture_height, 300);
}

TEST_F(FlowTest, KeysPressedWhileAMessageBoxIsOpenGoToTheBox) {
    headless::set_dialog_duration(1000);
    set_game_draws({3}, 1);
    choose(picture);
    headless::press_key(MAIN_WINDOW, KEY_ESCAPE, MODIFIER_NONE, AFTER_DEMO + 500);
    EXPECT_THROW(run(), headless::ScriptExhausted);  // playing on, no Goodbye
    EXPECT_EQ(titles(), std::vector<std::string>{"Puzzle Time"});
}

}  // namespace
