// A small program on the real window backend for the end-to-end tests: the main
// window with a laid-out board of grey tiles, printing every event the game
// would act on. A clicked cell turns black at once, then the program takes no
// event for a second, so a test can see that the cell reached the screen first.
// Esc ends it.
#include <cstdio>

#include "game/board_view.h"
#include "media/pictures.h"
#include "platform/clock.h"
#include "platform/event.h"
#include "platform/image.h"
#include "platform/platform.h"
#include "platform/window.h"
#include "rules/board.h"

namespace {

void make_grey_tiles() {
    for (int tile = 0; tile < CELL_COUNT; ++tile) {
        Image image = *make_blank_image(TILE_SIZE, TILE_SIZE, 24);
        std::fill(image.pixels.begin(), image.pixels.end(), uint8_t(tile == BLANK_TILE ? 0 : 128));
        put_image(tile, std::move(image));
    }
}

const char* kind_name(EventKind kind) {
    switch (kind) {
    case EventKind::VIEW_CLICK: return "VIEW_CLICK";
    case EventKind::SHORTCUT: return "SHORTCUT";
    case EventKind::CLOSE_REQUEST: return "CLOSE_REQUEST";
    case EventKind::OTHER: return "OTHER";
    case EventKind::NONE: return "NONE";
    }
    return "?";
}

}  // namespace

int main() {
    if (!platform_start() || !open_main_window()) return 1;
    reset_board();
    make_grey_tiles();
    create_board_views();
    remove_picture_view();
    lay_out_board();
    create_status_line();
    redraw_now();
    std::printf("READY\n");
    std::fflush(stdout);
    for (;;) {
        const UiEvent event = wait_event();
        if (event.kind == EventKind::OTHER || event.kind == EventKind::NONE) continue;
        if (event.kind == EventKind::VIEW_CLICK && event.number < CELL_COUNT) {
            board[event.number] = BLANK_TILE;
            show_cell(event.number);
        }
        std::printf("%s %d\n", kind_name(event.kind), event.number);
        std::fflush(stdout);
        if (event.kind == EventKind::VIEW_CLICK) pause_ms(1000);
        if (event.kind == EventKind::SHORTCUT && event.number == SHORTCUT_GIVE_UP) break;
    }
    close_all_windows();
    platform_release();
    return 0;
}
