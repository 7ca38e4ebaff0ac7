// The platform core's records and the hooks each backend provides. Only
// platform/ includes this file: game code sees window.h, event.h and the rest.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/event.h"
#include "platform/image.h"
#include "platform/window.h"

enum class ViewKind { IMAGE, TEXT, FRAME, PUSH_BUTTON, IMAGE_BUTTON, HYPERLINK };

struct ViewRecord {
    int number = 0;
    int window = 0;
    ViewKind kind = ViewKind::IMAGE;
    Rect place;
    std::shared_ptr<const Image> picture;  // image views and image buttons
    std::string text;                      // text, frame caption, button label, link
    bool centred = false;
    Colour hover;
    bool underline = false;
    void* native = nullptr;                // the backend's widget, if any
};

struct Shortcut {
    int key = 0;
    int modifiers = 0;
    int number = 0;
};

struct WindowRecord {
    int number = 0;
    std::string title;
    WindowStyle style = WindowStyle::FRAMED;
    int width = 0;                       // client area
    int height = 0;
    std::vector<uint8_t> framebuffer;    // the client area as RGB rows, width * 3 bytes each
    std::vector<Shortcut> shortcuts;
    std::optional<Rect> pending_paint;   // repainted when an event is next taken
    bool hidden = false;
    Rect outer;                          // on the screen, frame included (backend keeps it)
    std::shared_ptr<const Image> icon;
    void* native = nullptr;              // the backend's window
};

// Native input as a backend hands it to the core, one message at a time.
enum class MessageKind {
    NONE,           // nothing came
    LEFT_DOWN,      // window, x, y (client coordinates)
    LEFT_UP,
    LEFT_DOUBLE,    // the second click of a double click
    RIGHT_UP,
    CONTROL_CLICK,  // a system view (button, link) was clicked: view
    KEY,            // window, key, modifiers
    CLOSE,          // the close box or the system's close command on window
    EXPOSE,         // window must be repainted whole
    OTHER,          // anything else the game does not care about
};

struct Message {
    MessageKind kind = MessageKind::NONE;
    int window = -1;
    int x = 0, y = 0;
    int key = 0, modifiers = 0;
    int view = -1;
};

constexpr int WAIT_FOREVER = -1;

// Core services for the backends.
WindowRecord* find_window(int window);
ViewRecord* find_view(int view);
std::vector<WindowRecord*> all_windows();
std::vector<ViewRecord*> views_of(int window);   // in creation order
// Repaints an area of the framebuffer: background, then every view in creation order.
void repaint_area(WindowRecord& window, Rect area);
// Turns one message into the event the game sees (hit-testing, shortcuts, collection).
UiEvent deliver_message(const Message& message);
// The window's shortcut for a key with exactly these modifiers, or null.
const Shortcut* find_shortcut(const WindowRecord& window, int key, int modifiers);
// Forgets collected events (platform start and release).
void clear_collected_events();

// Hooks each backend implements.
bool backend_open_window(WindowRecord& window);
void backend_close_window(WindowRecord& window);
void backend_resize_client(WindowRecord& window);
void backend_set_visible(WindowRecord& window, bool visible);
void backend_set_icon(WindowRecord& window);
// The framebuffer's rectangle is on the screen before this returns.
void backend_present(WindowRecord& window, Rect area);
void backend_create_view(WindowRecord& window, ViewRecord& view);  // all but IMAGE
void backend_update_view(ViewRecord& view);                        // text changed
void backend_destroy_view(ViewRecord& view);
Colour backend_face_colour();
// The next native message: waits up to timeout_ms (0: only what is pending;
// WAIT_FOREVER: as long as needed). NONE when nothing came.
Message backend_next_message(int timeout_ms);

// Painting helpers shared by the core's files.
Rect clip_to_client(const WindowRecord& window, Rect area);
Rect bounding_rect(Rect a, Rect b);
void draw_view(WindowRecord& window, const ViewRecord& view, Rect area);
void repaint_area_except(WindowRecord& window, Rect area, int skipped_view);
// Repaints and shows every window's pending area: the window's next painting.
void paint_pending_areas();
