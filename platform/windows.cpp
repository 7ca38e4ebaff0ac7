// Numbered windows and views, and the painting rules of image views.
#include <algorithm>
#include <map>

#include "platform/core.h"

namespace {

std::map<int, WindowRecord> windows;
std::vector<ViewRecord> views;  // every window's views, in the order they were made
int next_chosen_view_number = 2000;

void present(WindowRecord& window, Rect area) {
    area = clip_to_client(window, area);
    if (area.width > 0 && area.height > 0 && !window.hidden) backend_present(window, area);
}

void mark_pending(WindowRecord& window, Rect area) {
    window.pending_paint = bounding_rect(window.pending_paint.value_or(Rect{}), area);
}

void repaint_now(WindowRecord& window, Rect area) {
    repaint_area(window, area);
    present(window, area);
}

void destroy_view_at(std::vector<ViewRecord>::iterator view) {
    if (view->kind != ViewKind::IMAGE) backend_destroy_view(*view);
    views.erase(view);
}

ViewRecord& add_view(int window, int number, ViewKind kind, Rect place) {
    if (number == ANY_VIEW_NUMBER) number = next_chosen_view_number++;
    auto old = std::find_if(views.begin(), views.end(),
                            [&](const ViewRecord& v) { return v.number == number; });
    if (old != views.end()) destroy_view_at(old);
    views.push_back(ViewRecord{number, window, kind, place, {}, {}, false, {}, false, nullptr});
    return views.back();
}

// A system view gets its fields first; the backend makes its widget from them.
ViewRecord* add_system_view(int window, int number, ViewKind kind, Rect place,
                            const std::string& text) {
    if (!find_window(window)) return nullptr;
    ViewRecord& view = add_view(window, number, kind, place);
    view.text = text;
    return &view;
}

void make_native(ViewRecord* view) {
    if (view) backend_create_view(*find_window(view->window), *view);
}

}  // namespace

WindowRecord* find_window(int window) {
    auto found = windows.find(window);
    return found == windows.end() ? nullptr : &found->second;
}

ViewRecord* find_view(int view) {
    for (ViewRecord& record : views)
        if (record.number == view) return &record;
    return nullptr;
}

std::vector<WindowRecord*> all_windows() {
    std::vector<WindowRecord*> result;
    for (auto& [number, window] : windows) result.push_back(&window);
    return result;
}

std::vector<ViewRecord*> views_of(int window) {
    std::vector<ViewRecord*> result;
    for (ViewRecord& view : views)
        if (view.window == window) result.push_back(&view);
    return result;
}

void paint_pending_areas() {
    for (auto& [number, window] : windows) {
        if (!window.pending_paint || window.hidden) continue;
        const Rect area = *window.pending_paint;
        window.pending_paint.reset();
        repaint_now(window, area);
    }
}

Colour face_colour() { return backend_face_colour(); }

bool open_window(int window, const std::string& title, int client_width, int client_height,
                 WindowStyle style) {
    close_window(window);
    WindowRecord& record = windows[window];
    record.number = window;
    record.title = title;
    record.style = style;
    record.width = client_width;
    record.height = client_height;
    record.framebuffer.assign(size_t(client_width) * client_height * 3, 0);
    repaint_area(record, {0, 0, client_width, client_height});
    if (backend_open_window(record)) return true;
    windows.erase(window);
    return false;
}

void close_window(int window) {
    WindowRecord* record = find_window(window);
    if (!record) return;
    for (auto view = views.begin(); view != views.end();)
        if (view->window == window) {
            if (view->kind != ViewKind::IMAGE) backend_destroy_view(*view);
            view = views.erase(view);
        } else {
            ++view;
        }
    backend_close_window(*record);
    windows.erase(window);
}

void close_all_windows() {
    while (!windows.empty()) close_window(windows.begin()->first);
}

bool window_exists(int window) { return find_window(window) != nullptr; }

// The content that still fits is kept; the whole window is painted anew at its
// next painting, as a system repaints a window whose size changed.
void set_client_size(int window, int client_width, int client_height) {
    WindowRecord* record = find_window(window);
    if (!record || client_width <= 0 || client_height <= 0) return;
    std::vector<uint8_t> resized(size_t(client_width) * client_height * 3, 0);
    const int kept_width = std::min(record->width, client_width);
    for (int y = 0; y < std::min(record->height, client_height); ++y)
        std::copy_n(record->framebuffer.data() + size_t(y) * record->width * 3, kept_width * 3,
                    resized.data() + size_t(y) * client_width * 3);
    record->framebuffer = std::move(resized);
    record->width = client_width;
    record->height = client_height;
    backend_resize_client(*record);
    mark_pending(*record, {0, 0, client_width, client_height});
}

int client_width(int window) {
    const WindowRecord* record = find_window(window);
    return record ? record->width : 0;
}

int client_height(int window) {
    const WindowRecord* record = find_window(window);
    return record ? record->height : 0;
}

void hide_window(int window) {
    WindowRecord* record = find_window(window);
    if (!record) return;
    record->hidden = true;
    backend_set_visible(*record, false);
}

// A window put back on the screen is painted whole at its next painting.
void show_window(int window) {
    WindowRecord* record = find_window(window);
    if (!record) return;
    record->hidden = false;
    backend_set_visible(*record, true);
    mark_pending(*record, {0, 0, record->width, record->height});
}

void redraw_window(int window) {
    WindowRecord* record = find_window(window);
    if (!record) return;
    record->pending_paint.reset();
    repaint_now(*record, {0, 0, record->width, record->height});
}

void set_window_icon(int window, const Image& icon) {
    WindowRecord* record = find_window(window);
    if (!record) return;
    record->icon = std::make_shared<const Image>(icon);
    backend_set_icon(*record);
}

void add_shortcut(int window, int key, int modifiers, int number) {
    if (WindowRecord* record = find_window(window))
        record->shortcuts.push_back({key, modifiers, number});
}

void create_image_view(int window, int view, Rect place) {
    if (find_window(window)) add_view(window, view, ViewKind::IMAGE, place);
}

// A 24-bit picture draws itself at once over whatever lies there. A picture with
// alpha cannot be drawn over itself: the old area is repainted at once without
// the view, and the view is drawn blended at the next painting. No picture: the
// view keeps its size and its area is repainted at once.
void set_view_image(int view, int image) {
    ViewRecord* record = find_view(view);
    if (!record || record->kind != ViewKind::IMAGE) return;
    WindowRecord& window = *find_window(record->window);
    const Rect covered = record->place;
    record->picture = image == NO_IMAGE ? nullptr : image_at(image);
    if (!record->picture) {
        repaint_now(window, covered);
        return;
    }
    record->place.width = record->picture->width;
    record->place.height = record->picture->height;
    if (record->picture->depth == 24) {
        draw_view(window, *record, record->place);
        present(window, record->place);
        return;
    }
    repaint_area_except(window, covered, view);
    present(window, covered);
    mark_pending(window, record->place);
}

void move_view(int view, int x, int y) {
    ViewRecord* record = find_view(view);
    if (!record) return;
    WindowRecord& window = *find_window(record->window);
    mark_pending(window, record->place);
    record->place.x = x;
    record->place.y = y;
    mark_pending(window, record->place);
    if (record->kind != ViewKind::IMAGE) backend_update_view(*record);
}

void remove_view(int view) {
    auto record = std::find_if(views.begin(), views.end(),
                               [&](const ViewRecord& v) { return v.number == view; });
    if (record == views.end()) return;
    mark_pending(*find_window(record->window), record->place);
    destroy_view_at(record);
}

std::optional<Rect> view_rect(int view) {
    const ViewRecord* record = find_view(view);
    if (!record) return std::nullopt;
    return record->place;
}

int create_text_view(int window, int view, Rect place, const std::string& text, bool centred) {
    ViewRecord* record = add_system_view(window, view, ViewKind::TEXT, place, text);
    if (!record) return view;
    record->centred = centred;
    make_native(record);
    return record->number;
}

void create_frame_view(int window, int view, Rect place, const std::string& caption) {
    make_native(add_system_view(window, view, ViewKind::FRAME, place, caption));
}

void create_push_button(int window, int view, Rect place, const std::string& label) {
    make_native(add_system_view(window, view, ViewKind::PUSH_BUTTON, place, label));
}

void create_image_button(int window, int view, Rect place, int image) {
    ViewRecord* record = add_system_view(window, view, ViewKind::IMAGE_BUTTON, place, "");
    if (record) record->picture = image_at(image);
    make_native(record);
}

void create_hyperlink(int window, int view, Rect place, const std::string& text, Colour hover,
                      bool underline) {
    ViewRecord* record = add_system_view(window, view, ViewKind::HYPERLINK, place, text);
    if (record) {
        record->hover = hover;
        record->underline = underline;
    }
    make_native(record);
}

void set_view_text(int view, const std::string& text) {
    ViewRecord* record = find_view(view);
    if (!record || record->kind == ViewKind::IMAGE) return;
    record->text = text;
    backend_update_view(*record);
}
