// The event queue: one native message at a time turned into the event the game
// sees. Close requests, right clicks and double clicks are collected and handed
// out first by the following calls; two identical ones in a row count once.
#include <deque>

#include "platform/core.h"

namespace {

std::deque<UiEvent> collected;

void collect(UiEvent event) {
    if (!collected.empty() && collected.back() == event) return;
    collected.push_back(event);
}

bool reports_clicks(ViewKind kind) {
    return kind != ViewKind::TEXT && kind != ViewKind::FRAME;
}

// The earliest-made view under the point that reports clicks: image views on
// the press, the system's buttons and links on the release. Text views and the
// background give nothing.
std::optional<int> view_at(int window, int x, int y, bool image_views) {
    for (const ViewRecord* view : views_of(window)) {
        if (!reports_clicks(view->kind)) continue;
        if ((view->kind == ViewKind::IMAGE) != image_views) continue;
        const Rect& r = view->place;
        if (x >= r.x && x < r.x + r.width && y >= r.y && y < r.y + r.height) return view->number;
    }
    return std::nullopt;
}

UiEvent click_on(int view) { return {EventKind::VIEW_CLICK, view}; }

UiEvent match_shortcut(const Message& message) {
    const WindowRecord* window = find_window(message.window);
    const Shortcut* shortcut = window ? find_shortcut(*window, message.key, message.modifiers) : nullptr;
    if (!shortcut) return {EventKind::OTHER, 0};
    return {EventKind::SHORTCUT, shortcut->number};
}

UiEvent take_event(int timeout_ms) {
    paint_pending_areas();
    if (!collected.empty()) {
        const UiEvent event = collected.front();
        collected.pop_front();
        return event;
    }
    return deliver_message(backend_next_message(timeout_ms));
}

}  // namespace

UiEvent deliver_message(const Message& message) {
    const UiEvent other{EventKind::OTHER, 0};
    switch (message.kind) {
    case MessageKind::NONE:
        return {EventKind::NONE, 0};
    case MessageKind::LEFT_DOWN:
        if (auto view = view_at(message.window, message.x, message.y, true)) return click_on(*view);
        return other;
    case MessageKind::LEFT_UP:
        if (auto view = view_at(message.window, message.x, message.y, false)) return click_on(*view);
        return other;
    case MessageKind::LEFT_DOUBLE:
    case MessageKind::RIGHT_UP:
        if (auto view = view_at(message.window, message.x, message.y, true)) collect(click_on(*view));
        return other;
    case MessageKind::CONTROL_CLICK:
        return find_view(message.view) ? click_on(message.view) : other;
    case MessageKind::KEY:
        return match_shortcut(message);
    case MessageKind::CLOSE:
        collect({EventKind::CLOSE_REQUEST, 0});
        return other;
    case MessageKind::EXPOSE:
        if (WindowRecord* window = find_window(message.window)) redraw_window(window->number);
        return other;
    case MessageKind::OTHER:
        return other;
    }
    return other;
}

const Shortcut* find_shortcut(const WindowRecord& window, int key, int modifiers) {
    for (const Shortcut& shortcut : window.shortcuts)
        if (shortcut.key == key && shortcut.modifiers == modifiers) return &shortcut;
    return nullptr;
}

void clear_collected_events() { collected.clear(); }

UiEvent wait_event() { return take_event(WAIT_FOREVER); }

UiEvent wait_event(int timeout_ms) { return take_event(timeout_ms < 0 ? 0 : timeout_ms); }

UiEvent handle_pending_event() { return take_event(0); }
