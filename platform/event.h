// The event queue the game reads, one event at a time, for all its windows alike.
#pragma once

enum class EventKind { NONE, VIEW_CLICK, SHORTCUT, CLOSE_REQUEST, OTHER };

struct UiEvent {
    EventKind kind = EventKind::NONE;
    int number = 0;  // the view's number for VIEW_CLICK, the shortcut's for SHORTCUT
    bool operator==(const UiEvent&) const = default;
};

// Takes the next event, waiting as long as needed.
UiEvent wait_event();
// Takes the next event, or NONE when none comes within timeout_ms.
UiEvent wait_event(int timeout_ms);
// Takes at most one pending event without waiting; NONE when nothing is pending.
UiEvent handle_pending_event();
