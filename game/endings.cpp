// The two endings of a game and the stop sequence every run ends in.
#include "farewell/farewell.h"
#include "game/board_view.h"
#include "game/flow.h"
#include "game/messages.h"
#include "media/move_sound.h"
#include "media/pictures.h"
#include "platform/dialog.h"
#include "platform/image.h"
#include "platform/platform.h"
#include "platform/shell.h"
#include "platform/window.h"
#include "rules/board.h"

// Each play restarts the click, so the four plays of a winning move sound as one.
void celebrate_solved() {
    for (int i = 0; i < 3; ++i) play_move_sound();
    create_picture_view(image_width(WORKING_PICTURE), image_height(WORKING_PICTURE));
    redraw_now();
    message_box(CONGRATULATIONS_TITLE, congratulations_text(move_count));
    run_farewell();
    stop_program();
}

void give_up() {
    message_box(GOODBYE_TITLE, goodbye_text(move_count));
    close_main_window();
    run_farewell();
    stop_program();
}

void stop_program() {
    shut_down_sound();
    close_all_windows();
    free_all_images();
    platform_release();
    end_process(0);
}
