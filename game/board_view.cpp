// The main window's views. Cell view c, tile image c and cell c share a number.
#include "game/board_view.h"

#include "media/assets.h"
#include "media/pictures.h"
#include "platform/window.h"
#include "rules/board.h"

const std::string MAKER_HOST = "www.corvenna.example";
const std::string MAIN_WINDOW_TITLE = "Tessaroo by " + MAKER_HOST;
const std::string STATUS_TEXT = "Press Ctrl-P for picture or Esc to quit";

namespace {

constexpr int CREATED_WIDTH = PICTURE_WIDTH;
constexpr int CREATED_HEIGHT = PICTURE_HEIGHT + STATUS_LINE_HEIGHT;
constexpr Rect STATUS_LINE_PLACE{0, PICTURE_HEIGHT, 380, STATUS_LINE_HEIGHT};

}  // namespace

bool open_main_window() {
    if (!open_window(MAIN_WINDOW, MAIN_WINDOW_TITLE, CREATED_WIDTH, CREATED_HEIGHT,
                     WindowStyle::FRAMED))
        return false;
    if (auto icon = decode_picture(ApplicationIcon.bytes())) set_window_icon(MAIN_WINDOW, *icon);
    add_shortcut(MAIN_WINDOW, 'P', MODIFIER_CTRL, SHORTCUT_PEEK);
    add_shortcut(MAIN_WINDOW, KEY_ESCAPE, MODIFIER_NONE, SHORTCUT_GIVE_UP);
    return true;
}

void create_board_views() {
    const Rect whole{0, 0, client_width(MAIN_WINDOW), client_height(MAIN_WINDOW)};
    for (int view = 0; view <= PICTURE_VIEW; ++view) create_image_view(MAIN_WINDOW, view, whole);
}

void show_cell(int cell) { set_view_image(cell, board[cell]); }

void place_cell_view(int cell) {
    move_view(cell, CELL_PITCH * column_of(cell), CELL_PITCH * row_of(cell));
}

void lay_out_board() {
    for (int cell : CELLS_BY_COLUMN) {
        show_cell(cell);
        place_cell_view(cell);
    }
}

void show_whole_picture() { set_view_image(PICTURE_VIEW, WORKING_PICTURE); }

void clear_whole_picture() { set_view_image(PICTURE_VIEW, NO_IMAGE); }

void create_picture_view(int width, int height) {
    create_image_view(MAIN_WINDOW, PICTURE_VIEW, {0, 0, width, height});
    show_whole_picture();
}

void remove_picture_view() { remove_view(PICTURE_VIEW); }

void resize_client(int width, int height) { set_client_size(MAIN_WINDOW, width, height); }

void create_status_line() {
    create_text_view(MAIN_WINDOW, ANY_VIEW_NUMBER, STATUS_LINE_PLACE, STATUS_TEXT, true);
}

void hide_main_window() { hide_window(MAIN_WINDOW); }

void show_main_window() { show_window(MAIN_WINDOW); }

void close_main_window() { close_window(MAIN_WINDOW); }

void redraw_now() { redraw_window(MAIN_WINDOW); }
