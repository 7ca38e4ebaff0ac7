// The main window's views as the player sees them (painting rules, sizes,
// placement) and the events the window layer hands out.
#include <gtest/gtest.h>

#include "game/board_view.h"
#include "media/pictures.h"
#include "platform/event.h"
#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "rules/board.h"

namespace {

constexpr Colour PICTURE_COLOUR{10, 200, 30};

Colour tile_colour(int tile) { return {uint8_t(20 * tile + 5), 100, uint8_t(250 - 20 * tile)}; }

Image flat_image(int width, int height, Colour colour, int depth = 24, uint8_t alpha = 255) {
    Image image = *make_blank_image(width, height, depth);
    const int channels = depth / 8;
    for (size_t i = 0; i < image.pixels.size(); i += channels) {
        image.pixels[i] = colour.red;
        image.pixels[i + 1] = colour.green;
        image.pixels[i + 2] = colour.blue;
        if (channels == 4) image.pixels[i + 3] = alpha;
    }
    return image;
}

// The state the flow reaches after start-up: main window, views, a working
// picture shown whole, tiles of distinct colours, cells laid out.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        headless::reset();
        platform_start();
        ASSERT_TRUE(open_main_window());
        reset_board();
        create_board_views();
        for (int tile = 0; tile < BLANK_TILE; ++tile)
            put_image(tile, flat_image(TILE_SIZE, TILE_SIZE, tile_colour(tile)));
        create_black_image(BLANK_TILE, TILE_SIZE, TILE_SIZE);
        put_image(WORKING_PICTURE, flat_image(PICTURE_WIDTH, PICTURE_HEIGHT, PICTURE_COLOUR));
    }

    Colour at(int x, int y) { return headless::pixel(MAIN_WINDOW, x, y); }
    Colour centre_of(int cell) { return at(100 * column_of(cell) + 49, 100 * row_of(cell) + 49); }
};

TEST_F(WindowTest, WholeRepaintPutsThePictureOverTheTilesAndAShownCellOverThePicture) {
    lay_out_board();
    show_whole_picture();
    redraw_now();
    for (int cell = 0; cell < CELL_COUNT; ++cell) EXPECT_EQ(centre_of(cell), PICTURE_COLOUR);

    show_cell(5);  // draws itself at once, over the picture
    EXPECT_EQ(centre_of(5), tile_colour(5));
    EXPECT_EQ(centre_of(6), PICTURE_COLOUR);

    redraw_now();  // views painted in creation order: the picture view last
    EXPECT_EQ(centre_of(5), PICTURE_COLOUR);
}

TEST_F(WindowTest, ShowCellPushesOnlyItsOwnSquareToTheScreen) {
    lay_out_board();
    redraw_now();
    headless::clear_presented();
    show_cell(6);
    ASSERT_EQ(headless::presented().size(), 1u);
    EXPECT_EQ(headless::presented()[0].area, (Rect{200, 100, TILE_SIZE, TILE_SIZE}));
}

TEST_F(WindowTest, PictureViewSizes) {
    show_whole_picture();
    EXPECT_EQ(view_rect(PICTURE_VIEW), (Rect{0, 0, 400, 300}));
    clear_whole_picture();  // no picture: the view keeps its size
    EXPECT_EQ(view_rect(PICTURE_VIEW), (Rect{0, 0, 400, 300}));

    remove_picture_view();
    EXPECT_FALSE(view_rect(PICTURE_VIEW));
    create_picture_view(123, 45);  // the picture's size wins
    EXPECT_EQ(view_rect(PICTURE_VIEW), (Rect{0, 0, 400, 300}));
}

TEST_F(WindowTest, ClearedAndRemovedPictureUncoversTheBoard) {
    lay_out_board();
    show_whole_picture();
    clear_whole_picture();  // repainted at once: the tiles show through
    EXPECT_EQ(centre_of(3), tile_colour(3));

    show_whole_picture();
    remove_picture_view();  // repainted at the next painting, when an event is taken
    EXPECT_EQ(centre_of(3), PICTURE_COLOUR);
    EXPECT_EQ(handle_pending_event().kind, EventKind::NONE);
    EXPECT_EQ(centre_of(3), tile_colour(3));
    EXPECT_EQ(at(98, 50), face_colour());  // the gap between cells
}

TEST_F(WindowTest, PictureWithAlphaIsBlendedAtTheNextPainting) {
    lay_out_board();
    redraw_now();
    put_image(WORKING_PICTURE, flat_image(PICTURE_WIDTH, PICTURE_HEIGHT, {255, 255, 255}, 32, 0));
    Image half = flat_image(PICTURE_WIDTH, PICTURE_HEIGHT, {200, 0, 0}, 32, 128);
    half.pixels[3] = 0;  // pixel (0, 0) fully transparent
    put_image(WORKING_PICTURE, half);
    show_whole_picture();
    EXPECT_EQ(centre_of(0), tile_colour(0));  // not drawn yet
    handle_pending_event();
    const Colour beneath = tile_colour(0);
    const auto mix = [](int source, int under) { return uint8_t((source * 128 + under * 127 + 127) / 255); };
    EXPECT_EQ(centre_of(0), (Colour{mix(200, beneath.red), mix(0, beneath.green), mix(0, beneath.blue)}));
    EXPECT_EQ(at(0, 0), beneath);
}

TEST_F(WindowTest, MainWindowHasItsTitleAndTheApplicationIcon) {
    const WindowRecord* window = headless::window(MAIN_WINDOW);
    EXPECT_EQ(window->title, "Tessaroo by www.corvenna.example");
    EXPECT_EQ(window->style, WindowStyle::FRAMED);
    ASSERT_TRUE(window->icon);
    EXPECT_EQ(window->icon->width, 64);
    EXPECT_EQ(window->icon->height, 64);
}

TEST_F(WindowTest, ResizingKeepsTheOuterTopLeftCorner) {
    const Rect created = headless::window(MAIN_WINDOW)->outer;
    EXPECT_EQ(created.x, (headless::SCREEN_WIDTH - created.width) / 2);
    EXPECT_EQ(created.y, (headless::SCREEN_HEIGHT - created.height) / 2);
    EXPECT_EQ(client_width(MAIN_WINDOW), 400);
    EXPECT_EQ(client_height(MAIN_WINDOW), 320);
    for (int height : {300, 320}) {
        resize_client(400, height);
        EXPECT_EQ(client_height(MAIN_WINDOW), height);
        EXPECT_EQ(headless::window(MAIN_WINDOW)->outer.x, created.x);
        EXPECT_EQ(headless::window(MAIN_WINDOW)->outer.y, created.y);
    }
}

TEST_F(WindowTest, ClicksOnViewsGapsAndTheStatusLine) {
    lay_out_board();
    remove_picture_view();
    create_status_line();
    struct Case {
        int x, y;
        UiEvent expected;
    };
    const Case cases[] = {
        {50, 50, {EventKind::VIEW_CLICK, 0}},   {397, 297, {EventKind::VIEW_CLICK, 11}},
        {150, 250, {EventKind::VIEW_CLICK, 9}}, {98, 50, {EventKind::OTHER, 0}},
        {50, 199, {EventKind::OTHER, 0}},       {190, 310, {EventKind::OTHER, 0}},  // status line
        {390, 310, {EventKind::OTHER, 0}},      // right of the status line
    };
    for (const Case& c : cases) {
        headless::click(MAIN_WINDOW, c.x, c.y, 0);
        EXPECT_EQ(handle_pending_event(), c.expected) << c.x << "," << c.y;
        EXPECT_EQ(handle_pending_event().kind, EventKind::OTHER);  // the release
    }
    EXPECT_EQ(handle_pending_event().kind, EventKind::NONE);
}

// Taking events until the script runs dry, keeping the ones the game acts on.
std::vector<UiEvent> events_until_quiet() {
    std::vector<UiEvent> events;
    for (UiEvent event; (event = handle_pending_event()).kind != EventKind::NONE;)
        if (event.kind != EventKind::OTHER) events.push_back(event);
    return events;
}

TEST_F(WindowTest, RightClicksDoubleClicksShortcutsAndCloseRequests) {
    lay_out_board();
    remove_picture_view();
    headless::click(MAIN_WINDOW, 250, 50, 0, headless::Button::RIGHT);
    headless::double_click(MAIN_WINDOW, 50, 150, 0);
    headless::double_click(MAIN_WINDOW, 350, 150, 0, headless::Button::RIGHT);
    headless::press_key(MAIN_WINDOW, 'P', MODIFIER_CTRL, 0);
    headless::press_key(MAIN_WINDOW, 'P', MODIFIER_NONE, 0);
    headless::press_key(MAIN_WINDOW, 'P', MODIFIER_CTRL | MODIFIER_SHIFT, 0);
    headless::press_key(MAIN_WINDOW, KEY_ESCAPE, MODIFIER_NONE, 0);
    headless::request_close(MAIN_WINDOW, 0);
    const std::vector<UiEvent> expected = {
        {EventKind::VIEW_CLICK, 2},          {EventKind::VIEW_CLICK, 4},
        {EventKind::VIEW_CLICK, 4},          {EventKind::VIEW_CLICK, 7},
        {EventKind::VIEW_CLICK, 7},          {EventKind::SHORTCUT, SHORTCUT_PEEK},
        {EventKind::SHORTCUT, SHORTCUT_GIVE_UP}, {EventKind::CLOSE_REQUEST, 0},
    };
    EXPECT_EQ(events_until_quiet(), expected);
    EXPECT_TRUE(window_exists(MAIN_WINDOW));  // a close request closes nothing
}

TEST_F(WindowTest, IdenticalCollectedEventsInARowCountOnce) {
    Message close;
    close.kind = MessageKind::CLOSE;
    close.window = MAIN_WINDOW;
    deliver_message(close);
    deliver_message(close);
    EXPECT_EQ(handle_pending_event().kind, EventKind::CLOSE_REQUEST);
    EXPECT_EQ(handle_pending_event().kind, EventKind::NONE);
}

TEST_F(WindowTest, WaitingWithATimeOutAdvancesTheClock) {
    EXPECT_EQ(wait_event(100).kind, EventKind::NONE);
    EXPECT_EQ(headless::now_ms(), 100u);
    headless::press_key(MAIN_WINDOW, KEY_ESCAPE, MODIFIER_NONE, 150);
    EXPECT_EQ(wait_event(100), (UiEvent{EventKind::SHORTCUT, SHORTCUT_GIVE_UP}));
    EXPECT_EQ(headless::now_ms(), 150u);
    EXPECT_EQ(handle_pending_event().kind, EventKind::NONE);
}

}  // namespace
