// One run of the game from start-up to the end of the process.
#pragma once

constexpr int START_PAUSE_MS = 50;
constexpr int PEEK_PAUSE_MS = 2000;

// The program's entry: start-up, the demonstration, the first click, the
// chooser, the game, its ending. Always ends in stop_program.
[[noreturn]] void run_game();
// Cuts the player's picture, lays out the board and jumbles it.
void start_game();
// One move of the player on cell 0 to 11; does not return when it solves the puzzle.
void handle_cell_click(int cell);
// Shows the whole picture for PEEK_PAUSE_MS.
void peek();
// The endings, each through the farewell window to stop_program.
[[noreturn]] void celebrate_solved();
[[noreturn]] void give_up();
// Sound off, every window closed, every image freed, the platform let go, exit 0.
[[noreturn]] void stop_program();
