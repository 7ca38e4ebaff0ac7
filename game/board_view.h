// The main window and what it shows: twelve cell views, the whole-picture view
// and the status line, with the window's two shortcuts. Views show what they are
// told; nothing here reads or changes the game's state but Board for show_cell.
#pragma once

#include <string>

constexpr int MAIN_WINDOW = 0;
constexpr int PICTURE_VIEW = 12;          // views 0 to 11 are the cell views
constexpr int SHORTCUT_PEEK = 13;         // Ctrl+P
constexpr int SHORTCUT_GIVE_UP = 14;      // Esc
constexpr int STATUS_LINE_HEIGHT = 20;
extern const std::string MAKER_HOST;      // the maker's web host name
extern const std::string MAIN_WINDOW_TITLE;
extern const std::string STATUS_TEXT;

// Opens the main window, 400 x 320, centred, shown and active, with Ctrl+P and
// Esc as shortcuts 13 and 14. False if the system refuses the window.
bool open_main_window();
// Image views 0 to 12 at (0, 0), as large as the client area, with no picture.
void create_board_views();
// Cell view c shows tile image Board[c] (drawn at once).
void show_cell(int cell);
// Moves cell view c to its place in the grid; its size stays.
void place_cell_view(int cell);
// Every cell view shows its tile at its place, column by column.
void lay_out_board();
// The picture view shows the working picture (drawn at once) or nothing.
void show_whole_picture();
void clear_whole_picture();
// Makes the picture view anew showing the working picture; it takes the
// picture's size whatever size is asked for.
void create_picture_view(int width, int height);
void remove_picture_view();
// The client area's new size; the outer top-left corner stays.
void resize_client(int width, int height);
void create_status_line();
void hide_main_window();
void show_main_window();
void close_main_window();
// The whole window repainted before returning.
void redraw_now();
