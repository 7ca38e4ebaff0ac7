// The board of the sliding puzzle: which tile lies in which cell, the move rule,
// the move count, the solved test and the random walk of the black square.
#pragma once

#include <array>
#include <cstdint>

constexpr int GRID_COLUMNS = 4;
constexpr int GRID_ROWS = 3;
constexpr int CELL_COUNT = GRID_COLUMNS * GRID_ROWS;
constexpr int BLANK_TILE = 11;           // the black square; its home is the last cell
constexpr int CELL_PITCH = 100;          // pixels between cell origins
constexpr int TILE_SIZE = 98;            // pixels per tile side
constexpr int PICTURE_WIDTH = 400;
constexpr int PICTURE_HEIGHT = 300;
constexpr int SCRAMBLE_STEPS = 500;
constexpr int NO_MOVE = -1;              // try_move's answer when nothing slides

// Board[cell] is the tile in that cell; cell = column + 4 * row.
using Board = std::array<int32_t, CELL_COUNT>;

extern Board board;
extern int32_t move_count;

// The cells column by column from the left, each column from the top: the order
// in which the board is laid out and its tiles are made.
constexpr std::array<int, CELL_COUNT> CELLS_BY_COLUMN = {0, 4, 8, 1, 5, 9, 2, 6, 10, 3, 7, 11};

inline int row_of(int cell) { return cell / GRID_COLUMNS; }
inline int column_of(int cell) { return cell - GRID_COLUMNS * row_of(cell); }

// Puts every tile in its own cell (the initial, solved arrangement).
void reset_board();
// Board entry of one cell only, for the start-up pass that also makes its tile image.
void reset_board_cell(int cell);
// The player clicked `cell`: if a neighbour (not diagonal, rows never wrap)
// holds the blank, the two tiles change places, move_count grows by one and the
// neighbour is returned; otherwise NO_MOVE and nothing changes.
int try_move(int cell);
// True when cells 0 to 10 each hold their own tile.
bool is_solved();
// One draw of the random walk: the blank at blank_cell moves one cell in a
// random direction if the grid allows it. Returns the blank's cell afterwards.
int random_blank_step(int blank_cell);
// The game-start jumble: SCRAMBLE_STEPS draws of the random walk from cell 11,
// calling refresh for the cell the blank left and then the one it entered.
using RefreshCell = void (*)(int cell);
void scramble_board(RefreshCell refresh);
