// The demonstration drives the views itself: a view given a tile draws it at
// once over the whole picture, and a whole repaint puts the picture, made after
// the cell views, back on top.
#include "rules/demonstration.h"

#include <utility>

#include "game/board_view.h"
#include "media/pictures.h"
#include "platform/clock.h"
#include "platform/event.h"
#include "rules/board.h"

namespace {

// Column by column, each tile shows for an instant at the top-left corner
// before its view is moved to its place and the picture is repainted over it.
void lay_out_cells_one_by_one() {
    for (int cell : CELLS_BY_COLUMN) {
        show_cell(cell);
        place_cell_view(cell);
        redraw_now();
    }
}

// A draw that points off the grid adds nothing to the trail and costs no time.
void walk_forward(DemoTrail& trail) {
    int blank_cell = trail.back();
    for (int draw = 0; draw < DEMO_STEPS; ++draw) {
        const int entered = random_blank_step(blank_cell);
        if (entered == blank_cell) continue;
        show_cell(blank_cell);
        show_cell(entered);
        handle_pending_event();
        blank_cell = entered;
        trail.push_back(int16_t(entered));
    }
}

// The blank goes back through the trail from its end. A trail of one entry still
// makes one step, exchanging cell 11 with itself.
void replay_backward(const DemoTrail& trail) {
    int blank_cell = trail.back();
    size_t current = trail.size() > 1 ? trail.size() - 2 : 0;
    for (;;) {
        const int cell = trail[current];
        std::swap(board[blank_cell], board[cell]);
        show_cell(cell);
        show_cell(blank_cell);
        handle_pending_event();
        blank_cell = cell;
        pause_ms(DEMO_STEP_PAUSE_MS);
        if (current == 0) break;
        --current;
    }
}

}  // namespace

void run_demonstration() {
    DemoTrail trail;
    cut_tiles();
    show_whole_picture();
    handle_pending_event();
    redraw_now();
    lay_out_cells_one_by_one();
    handle_pending_event();
    trail.push_back(BLANK_TILE);
    walk_forward(trail);
    replay_backward(trail);
    show_whole_picture();
    handle_pending_event();
}
