// The move rule, the solved test and the random walk of the black square.
#include "rules/board.h"

#include <utility>

#include "platform/random.h"

Board board;
int32_t move_count = 0;

namespace {

struct Direction {
    int rows, columns;
};

// Direction numbers of the random step: 0 up, 1 down, 2 right, 3 left.
// try_move looks at the neighbours in the same order.
constexpr Direction DIRECTIONS[4] = {{-1, 0}, {+1, 0}, {0, +1}, {0, -1}};

// The cell one step away, or NO_MOVE when that step leaves the grid. Rows never
// wrap: right of column 3 and left of column 0 there is nothing.
int neighbour_of(int cell, Direction direction) {
    const int row = row_of(cell) + direction.rows;
    const int column = column_of(cell) + direction.columns;
    if (row < 0 || row >= GRID_ROWS || column < 0 || column >= GRID_COLUMNS) return NO_MOVE;
    return column + GRID_COLUMNS * row;
}

void exchange(int a, int b) { std::swap(board[a], board[b]); }

}  // namespace

void reset_board_cell(int cell) { board[cell] = cell; }

void reset_board() {
    for (int cell = 0; cell < CELL_COUNT; ++cell) reset_board_cell(cell);
}

// Only neighbours on the grid are read, so no entry outside the board is touched.
// Exactly one cell holds the blank, so at most one neighbour matches; the
// blank's own cell has no blank neighbour and answers no move.
int try_move(int cell) {
    for (Direction direction : DIRECTIONS) {
        const int neighbour = neighbour_of(cell, direction);
        if (neighbour == NO_MOVE || board[neighbour] != BLANK_TILE) continue;
        exchange(cell, neighbour);
        ++move_count;
        return neighbour;
    }
    return NO_MOVE;
}

// Cell 11 needs no look: with tiles 0 to 10 home, the blank is the only tile left.
bool is_solved() {
    for (int cell = 0; cell < BLANK_TILE; ++cell)
        if (board[cell] != cell) return false;
    return true;
}

// A draw that points off the grid is used up all the same: walks count draws.
int random_blank_step(int blank_cell) {
    const int target = neighbour_of(blank_cell, DIRECTIONS[random_draw(3)]);
    if (target == NO_MOVE) return blank_cell;
    exchange(blank_cell, target);
    return target;
}

void scramble_board(RefreshCell refresh) {
    int blank_cell = BLANK_TILE;
    for (int step = 0; step < SCRAMBLE_STEPS; ++step) {
        const int entered = random_blank_step(blank_cell);
        if (entered == blank_cell) continue;
        refresh(blank_cell);
        refresh(entered);
        blank_cell = entered;
    }
}
