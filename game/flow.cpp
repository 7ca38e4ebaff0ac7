// The run: start-up, the wait for the first click, the choice of a picture, the
// start of the game and the play loop.
#include "game/flow.h"

#include <string>

#include "game/board_view.h"
#include "game/messages.h"
#include "media/move_sound.h"
#include "media/pictures.h"
#include "platform/clock.h"
#include "platform/dialog.h"
#include "platform/event.h"
#include "platform/image.h"
#include "platform/platform.h"
#include "rules/board.h"
#include "rules/demonstration.h"

namespace {

// One pass over the cells, column by column: each cell's board entry, then its black tile.
void set_up_cells() {
    for (int cell : CELLS_BY_COLUMN) {
        reset_board_cell(cell);
        create_tile_image(cell);
    }
}

void fit_window_to_picture(int extra_height) {
    resize_client(image_width(WORKING_PICTURE), image_height(WORKING_PICTURE) + extra_height);
}

void start_up() {
    if (!platform_start()) stop_program();
    move_count = 0;
    init_picture_readers();
    init_move_sound();
    if (!open_main_window()) stop_program();
    set_up_cells();
    create_board_views();
    if (load_builtin_picture()) {
        show_whole_picture();
        fit_window_to_picture(0);
    }
    redraw_now();
    handle_pending_event();
    pause_ms(START_PAUSE_MS);
}

// Any click on any view goes on; a close request ends the run; the rest,
// Ctrl+P and Esc included, is ignored.
void wait_for_first_click() {
    for (;;) {
        const UiEvent event = wait_event();
        if (event.kind == EventKind::CLOSE_REQUEST) stop_program();
        if (event.kind == EventKind::VIEW_CLICK) return;
    }
}

void load_chosen_picture() {
    const std::string path = choose_file(CHOOSER_TITLE, CHOOSER_FILTER);
    if (path.empty() || !load_picture_file(path)) stop_program();
}

void show_player_picture() {
    scale_working_picture();
    fit_window_to_picture(STATUS_LINE_HEIGHT);
    show_whole_picture();
    redraw_now();
}

bool is_playable_cell_click(const UiEvent& event) {
    return event.kind == EventKind::VIEW_CLICK && event.number >= 0 &&
           event.number < CELL_COUNT && board[event.number] != BLANK_TILE;
}

[[noreturn]] void play() {
    for (;;) {
        const UiEvent event = wait_event();
        if (is_playable_cell_click(event)) handle_cell_click(event.number);
        const bool shortcut = event.kind == EventKind::SHORTCUT;
        if (shortcut && event.number == SHORTCUT_PEEK) peek();
        if (event.kind == EventKind::CLOSE_REQUEST || (shortcut && event.number == SHORTCUT_GIVE_UP))
            give_up();
    }
}

}  // namespace

void run_game() {
    start_up();
    run_demonstration();
    wait_for_first_click();
    load_chosen_picture();
    show_player_picture();
    message_box(INSTRUCTIONS_TITLE, INSTRUCTIONS_TEXT);
    start_game();
    remove_picture_view();
    create_status_line();
    play();
}

void start_game() {
    cut_tiles();
    clear_whole_picture();
    lay_out_board();
    scramble_board(show_cell);
}

// The count already includes the move when the board is tested, so the closing
// message reports every move, the last one included.
void handle_cell_click(int cell) {
    const int neighbour = try_move(cell);
    if (neighbour == NO_MOVE) return;
    show_cell(cell);
    show_cell(neighbour);
    play_move_sound();
    if (is_solved()) celebrate_solved();
}

// No event is taken during the pause: what the player does meanwhile waits.
void peek() {
    hide_main_window();
    create_picture_view(PICTURE_WIDTH, PICTURE_HEIGHT);
    show_main_window();
    redraw_now();
    pause_ms(PEEK_PAUSE_MS);
    remove_picture_view();
}
