// Numbered windows and the views inside them.
//
// Image views are drawn by the platform itself into each window's framebuffer:
//  - views are painted in the order they were made, later ones over earlier ones;
//  - a view given a 24-bit picture takes its size and draws itself at once;
//  - a view given a picture with alpha repaints its old area at once and is drawn,
//    blended, at the window's next painting (when an event is next taken);
//  - a view given no picture keeps its size, and its area is repainted at once;
//  - a removed or moved view's area is repainted at the next painting;
//  - redraw_window repaints the whole window before it returns.
// The other kinds of view (text, frame, buttons, hyperlink) are the system's own.
// Called by the game's view modules (game/board_view, farewell/) only.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/image.h"

struct Rect {
    int x = 0, y = 0, width = 0, height = 0;
    bool operator==(const Rect&) const = default;
};

struct Colour {
    uint8_t red = 0, green = 0, blue = 0;
    bool operator==(const Colour&) const = default;
};

enum class WindowStyle {
    FRAMED,      // title bar, system menu, minimise and close box; no maximise, fixed size
    BORDERLESS,  // no border, no title bar, no system menu
};

// Key codes for shortcuts: letters by their upper-case character code.
constexpr int KEY_RETURN = 13;
constexpr int KEY_ESCAPE = 27;
constexpr int KEY_SPACE = 32;
constexpr int MODIFIER_NONE = 0;
constexpr int MODIFIER_CTRL = 1;
constexpr int MODIFIER_SHIFT = 2;
constexpr int MODIFIER_ALT = 4;

constexpr int NO_IMAGE = -1;
constexpr int ANY_VIEW_NUMBER = -1;

// Opens a window with the given client size, centred on the screen by the
// screen's full size, shown and made active. False if the system refuses it.
bool open_window(int window, const std::string& title, int client_width, int client_height,
                 WindowStyle style);
// Destroys a window with all its views and shortcuts.
void close_window(int window);
void close_all_windows();
bool window_exists(int window);
// Gives the client area a new size; the window's outer top-left corner stays.
void set_client_size(int window, int client_width, int client_height);
int client_width(int window);
int client_height(int window);
// Takes the window off the screen, keeping its views; showing puts it back and activates it.
void hide_window(int window);
void show_window(int window);
// Repaints the whole window, every view in creation order, before returning.
void redraw_window(int window);
// While the window is active, the key (with exactly these modifiers) gives a
// SHORTCUT event with the number, before any view sees the key.
void add_shortcut(int window, int key, int modifiers, int number);
// The picture the system shows for the window (title bar, task list).
void set_window_icon(int window, const Image& icon);
// The system's face colour for dialogs and buttons: every window's background.
Colour face_colour();

// Image views. A view is at (x, y) with the given size and no picture.
void create_image_view(int window, int view, Rect place);
// Gives the view image `image` of the store (NO_IMAGE for none); the view keeps
// that picture even when the store later puts another image under the number.
void set_view_image(int view, int image);
void move_view(int view, int x, int y);
void remove_view(int view);
std::optional<Rect> view_rect(int view);

// The system's views. Each takes part in hit-testing only if it reports clicks.
// Text: wrapped at word boundaries, each line centred or starting at the left.
// Returns the view's number (one the layer chooses if ANY_VIEW_NUMBER is given).
int create_text_view(int window, int view, Rect place, const std::string& text, bool centred);
void create_frame_view(int window, int view, Rect place, const std::string& caption);
// A button reports a left click; it takes part in the Tab order.
void create_push_button(int window, int view, Rect place, const std::string& label);
// A button showing an image centred on its face, clipped to the face, moved one
// pixel right and down while held.
void create_image_button(int window, int view, Rect place, int image);
// One line of black text, the hover colour while the pointer is over it, a
// pointing hand there, a click on release. Not in the Tab order.
void create_hyperlink(int window, int view, Rect place, const std::string& text,
                      Colour hover, bool underline);
// Sets the text of a text view, frame, button or link; an unknown number is ignored.
void set_view_text(int view, const std::string& text);
