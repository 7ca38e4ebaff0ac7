// The wxWidgets backend: native windows that show the core's framebuffers, the
// system's own views, dialogs, and native input turned into core messages.
//
// wxWidgets is started without handing it the main loop: every native event is
// dispatched from backend_next_message, one at a time, and the handlers below
// only put messages in the inbox for the core to take.
#include <wx/dcscreen.h>
#include <wx/display.h>
#include <wx/evtloop.h>
#include <wx/filedlg.h>
#include <wx/hyperlink.h>
#include <wx/generic/hyperlink.h>
#include <wx/msgdlg.h>
#include <wx/renderer.h>
#include <wx/statbox.h>
#include <wx/wx.h>

#include <chrono>
#include <cstdlib>
#include <deque>
#include <map>
#include <set>

#include "platform/core.h"
#include "platform/dialog.h"
#include "platform/platform.h"
#include "platform/file_filter.h"

namespace {

struct NativeWindow {
    wxFrame* frame = nullptr;
    wxPanel* canvas = nullptr;  // shows the framebuffer; parent of the system's views
};

std::deque<Message> inbox;
wxGUIEventLoop* event_loop = nullptr;
wxEventLoopActivator* loop_activator = nullptr;
Colour face;

NativeWindow* native_of(const WindowRecord& window) {
    return static_cast<NativeWindow*>(window.native);
}

Message message_of(MessageKind kind, int window) {
    Message message;
    message.kind = kind;
    message.window = window;
    return message;
}

void post_mouse(MessageKind kind, int window, const wxMouseEvent& event) {
    Message message = message_of(kind, window);
    message.x = event.GetX();
    message.y = event.GetY();
    inbox.push_back(message);
}

// Keys as the core's shortcuts name them: Return, Escape, Space, upper-case letters.
int key_code_of(const wxKeyEvent& event) {
    const int code = event.GetKeyCode();
    if (code == WXK_NUMPAD_ENTER) return KEY_RETURN;
    if (code >= 'a' && code <= 'z') return code - 'a' + 'A';
    return code;
}

int modifiers_of(const wxKeyEvent& event) {
    int modifiers = MODIFIER_NONE;
    if (event.ControlDown()) modifiers |= MODIFIER_CTRL;
    if (event.ShiftDown()) modifiers |= MODIFIER_SHIFT;
    if (event.AltDown()) modifiers |= MODIFIER_ALT;
    return modifiers;
}


// Every key reaches the top-level window first: a shortcut is taken here, before
// the focused button sees it; other keys go on (Tab moves the focus).
void on_key(int window, wxKeyEvent& event) {
    Message message = message_of(MessageKind::KEY, window);
    message.key = key_code_of(event);
    message.modifiers = modifiers_of(event);
    inbox.push_back(message);
    const WindowRecord* record = find_window(window);
    if (!record || !find_shortcut(*record, message.key, message.modifiers)) event.Skip();
}

// The close box and the system's close command become a request; the window stays.
void on_close(int window, wxCloseEvent& event) {
    inbox.push_back(message_of(MessageKind::CLOSE, window));
    if (event.CanVeto()) event.Veto();
}

std::set<int> painted_windows;  // windows whose canvas has been painted since shown

// Pushes the framebuffer's damaged rectangles to the screen.
void on_paint(int window, wxPanel* canvas) {
    wxPaintDC dc(canvas);
    painted_windows.insert(window);
    const WindowRecord* record = find_window(window);
    if (!record) return;
    for (wxRegionIterator part(canvas->GetUpdateRegion()); part; ++part) {
        const wxRect area = wxRect(part.GetRect()).Intersect(wxRect(0, 0, record->width, record->height));
        if (area.IsEmpty()) continue;
        wxImage image(area.width, area.height, false);
        unsigned char* out = image.GetData();
        for (int y = 0; y < area.height; ++y)
            std::copy_n(record->framebuffer.data() + (size_t(area.y + y) * record->width + area.x) * 3,
                        size_t(area.width) * 3, out + size_t(y) * area.width * 3);
        dc.DrawBitmap(wxBitmap(image), area.x, area.y);
    }
}

void bind_input(int window, NativeWindow& native) {
    native.frame->Bind(wxEVT_CHAR_HOOK, [window](wxKeyEvent& e) { on_key(window, e); });
    native.frame->Bind(wxEVT_CLOSE_WINDOW, [window](wxCloseEvent& e) { on_close(window, e); });
    wxPanel* canvas = native.canvas;
    canvas->Bind(wxEVT_PAINT, [window, canvas](wxPaintEvent&) { on_paint(window, canvas); });
    canvas->Bind(wxEVT_LEFT_DOWN, [window](wxMouseEvent& e) {
        post_mouse(MessageKind::LEFT_DOWN, window, e);
        e.Skip();
    });
    canvas->Bind(wxEVT_LEFT_UP, [window](wxMouseEvent& e) {
        post_mouse(MessageKind::LEFT_UP, window, e);
        e.Skip();
    });
    canvas->Bind(wxEVT_LEFT_DCLICK, [window](wxMouseEvent& e) {
        post_mouse(MessageKind::LEFT_DOUBLE, window, e);
    });
    canvas->Bind(wxEVT_RIGHT_UP, [window](wxMouseEvent& e) {
        post_mouse(MessageKind::RIGHT_UP, window, e);
    });
}

// Where the frame's top-left corner goes: centred on the primary screen by its
// full size, the outer size being the client size plus the frame; a window
// larger than the screen is placed as if it were as large as the screen.
wxPoint centred_corner(wxSize client, wxSize decorations) {
    const wxRect screen = wxDisplay(0u).GetGeometry();
    const int width = std::min(client.x + decorations.x, screen.width);
    const int height = std::min(client.y + decorations.y, screen.height);
    return {screen.x + (screen.width - width) / 2, screen.y + (screen.height - height) / 2};
}

// Dispatches native events until the condition holds or the time is up.
template <typename Condition>
void dispatch_until(Condition condition, int milliseconds = 500) {
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (!condition() && std::chrono::steady_clock::now() < give_up) {
        event_loop->DispatchTimeout(5);
        wxTheApp->ProcessPendingEvents();
    }
}

// A fixed-size frame is first mapped at the size GTK asks of its contents; the
// size is given again once it is mapped. On X11 the window manager frames the
// window a little later (slower still on a busy machine), and a window placed
// before that is shifted by the frame's size: so the window is centred once it
// is framed, with the frame's real size, and moved until its client area is
// where it belongs. Elsewhere the compositor places windows itself.
void settle_size_and_centre(wxFrame* frame, wxSize client, bool framed) {
    dispatch_until([&] { return frame->IsShownOnScreen(); });
    if (framed)
        frame->SetClientSize(client);
    else
        frame->SetSize(client);
    dispatch_until([&] { return frame->GetClientSize() == client; });
    if (wxGetDisplayInfo().type != wxDisplayX11) return;
    if (framed) dispatch_until([&] { return frame->GetSize().y > frame->GetClientSize().y; }, 3000);
    const wxSize decorations = frame->GetSize() - frame->GetClientSize();
    const wxPoint corner = centred_corner(client, decorations);
    const wxPoint client_origin = corner + wxSize(decorations.x / 2, decorations.y - decorations.x / 2);
    for (int attempt = 0; attempt < 4 && frame->ClientToScreen(wxPoint()) != client_origin; ++attempt) {
        frame->Move(corner + wxSize(0, 1));
        frame->Move(corner);
        dispatch_until([&] { return frame->ClientToScreen(wxPoint()) == client_origin; });
    }
}

// A window just shown is on the screen once the system has asked it to paint:
// until then nothing drawn into it can be seen. Input that arrives meanwhile
// waits in the inbox.
void wait_until_painted(int window) {
    dispatch_until([window] { return painted_windows.count(window) > 0; });
}

wxFrame* front_frame() {
    for (WindowRecord* window : all_windows())
        if (native_of(*window)->frame->IsActive()) return native_of(*window)->frame;
    return nullptr;
}

wxFrame* owner_for_new_window() {
    WindowRecord* main_window = find_window(0);
    return main_window ? native_of(*main_window)->frame : nullptr;
}

wxRect rect_of(Rect r) { return wxRect(r.x, r.y, r.width, r.height); }

// The picture of an image button, centred on its face and clipped to it, one
// pixel right and down while the button is held.
void paint_image_button(wxWindow* button, const ViewRecord& view, bool held) {
    wxPaintDC dc(button);
    const wxSize size = button->GetClientSize();
    wxRendererNative::Get().DrawPushButton(button, dc, wxRect(size), held ? int(wxCONTROL_PRESSED) : 0);
    if (!view.picture) return;
    const Image& picture = *view.picture;
    wxImage image(picture.width, picture.height, false);
    for (size_t i = 0, n = size_t(picture.width) * picture.height; i < n; ++i)
        std::copy_n(picture.pixels.data() + i * channels_of(picture), 3, image.GetData() + i * 3);
    constexpr int border = 2;
    if (button->HasFocus())
        wxRendererNative::Get().DrawFocusRect(button, dc, wxRect(size).Deflate(3));
    dc.SetClippingRegion(border, border, size.x - 2 * border, size.y - 2 * border);
    const int shift = held ? 1 : 0;
    dc.DrawBitmap(wxBitmap(image), (size.x - picture.width) / 2 + shift,
                  (size.y - picture.height) / 2 + shift);
}

void post_control_click(int view) {
    Message message = message_of(MessageKind::CONTROL_CLICK, -1);
    message.view = view;
    inbox.push_back(message);
}

std::map<int, bool> held_buttons;  // image buttons by view number: held down now

// A button's click is its release over it, after a press on it.
wxWindow* make_image_button(wxPanel* parent, int view) {
    auto* button = new wxWindow(parent, wxID_ANY);
    button->SetBackgroundStyle(wxBG_STYLE_PAINT);
    button->SetCanFocus(true);
    held_buttons[view] = false;
    button->Bind(wxEVT_PAINT, [button, view](wxPaintEvent&) {
        if (const ViewRecord* record = find_view(view))
            paint_image_button(button, *record, held_buttons[view]);
    });
    button->Bind(wxEVT_LEFT_DOWN, [button, view](wxMouseEvent&) {
        held_buttons[view] = true;
        button->SetFocus();
        button->CaptureMouse();
        button->Refresh();
    });
    button->Bind(wxEVT_LEFT_UP, [button, view](wxMouseEvent& e) {
        if (!held_buttons[view]) return;
        held_buttons[view] = false;
        if (button->HasCapture()) button->ReleaseMouse();
        button->Refresh();
        if (wxRect(button->GetClientSize()).Contains(e.GetPosition())) post_control_click(view);
    });
    button->Bind(wxEVT_SET_FOCUS, [button](wxFocusEvent& e) { button->Refresh(); e.Skip(); });
    button->Bind(wxEVT_KILL_FOCUS, [button](wxFocusEvent& e) { button->Refresh(); e.Skip(); });
    button->Bind(wxEVT_MOUSE_CAPTURE_LOST, [view](wxMouseCaptureLostEvent&) { held_buttons[view] = false; });
    return button;
}


// Text wrapped at word boundaries within the view's width. The views are sized
// for a small interface font: where the system's default font is larger, its
// size is stepped down until the wrapped text fits the view's height.
void set_wrapped_text(wxStaticText* text, const ViewRecord& view) {
    constexpr double SMALLEST_POINTS = 7;
    wxFont font = wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT);
    for (;;) {
        text->SetFont(font);
        text->SetLabel(wxString::FromUTF8(view.text));
        text->Wrap(view.place.width);
        wxScreenDC measure;
        measure.SetFont(font);
        const bool fits = measure.GetMultiLineTextExtent(text->GetLabel()).y <= view.place.height;
        if (fits || font.GetFractionalPointSize() <= SMALLEST_POINTS) break;
        font.SetFractionalPointSize(font.GetFractionalPointSize() - 0.5);
    }
    text->SetSize(view.place.width, view.place.height);
}

wxWindow* make_system_view(wxPanel* canvas, const ViewRecord& view) {
    const int number = view.number;
    const wxPoint at(view.place.x, view.place.y);
    const wxSize size(view.place.width, view.place.height);
    switch (view.kind) {
    case ViewKind::TEXT: {
        auto* text = new wxStaticText(canvas, wxID_ANY, "", at, size,
                                      view.centred ? wxALIGN_CENTRE_HORIZONTAL : wxALIGN_LEFT);
        set_wrapped_text(text, view);
        return text;
    }
    case ViewKind::FRAME:
        return new wxStaticBox(canvas, wxID_ANY, wxString::FromUTF8(view.text), at, size);
    case ViewKind::PUSH_BUTTON: {
        auto* button = new wxButton(canvas, wxID_ANY, wxString::FromUTF8(view.text), at, size);
        button->Bind(wxEVT_BUTTON, [number](wxCommandEvent&) { post_control_click(number); });
        return button;
    }
    case ViewKind::IMAGE_BUTTON: {
        wxWindow* button = make_image_button(canvas, number);
        button->SetSize(wxRect(at, size));
        return button;
    }
    case ViewKind::HYPERLINK: {
        auto* link = new wxGenericHyperlinkCtrl(canvas, wxID_ANY, wxString::FromUTF8(view.text), "",
                                                at, size, wxHL_ALIGN_LEFT | wxBORDER_NONE);
        link->SetNormalColour(*wxBLACK);
        link->SetVisitedColour(*wxBLACK);
        link->SetHoverColour(wxColour(view.hover.red, view.hover.green, view.hover.blue));
        wxFont font = link->GetFont();
        font.SetUnderlined(view.underline);
        link->SetFont(font);
        link->SetCanFocus(false);
        link->Bind(wxEVT_HYPERLINK, [number](wxHyperlinkEvent&) { post_control_click(number); });
        return link;
    }
    case ViewKind::IMAGE:
        break;
    }
    return nullptr;
}

// One native event at most; afterwards the work wx defers to idle time, which
// a loop that only polls would never run (destroyed windows are deleted there).
bool dispatch_one(int timeout_ms) {
    const bool dispatched = timeout_ms == 0 ? (event_loop->Pending() && event_loop->Dispatch())
                                            : event_loop->DispatchTimeout(timeout_ms) > 0;
    wxTheApp->ProcessPendingEvents();
    wxTheApp->ProcessIdle();
    return dispatched;
}

Message take_inbox() {
    const Message message = inbox.front();
    inbox.pop_front();
    return message;
}

}  // namespace

bool platform_start() {
#ifdef __WXGTK__
    // Windows are placed by the program (centred, kept where they are when they
    // change size): under Wayland only XWayland lets a program do that.
    if (std::getenv("WAYLAND_DISPLAY") && std::getenv("DISPLAY")) setenv("GDK_BACKEND", "x11", 0);
#endif
    static int argc = 1;
    static char program[] = "tessaroo";
    static char* argv[] = {program, nullptr};
    wxApp::SetInstance(new wxApp());
    if (!wxEntryStart(argc, argv) || !wxTheApp->CallOnInit()) return false;
    event_loop = new wxGUIEventLoop();
    loop_activator = new wxEventLoopActivator(event_loop);
    const wxColour colour = wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE);
    face = {colour.Red(), colour.Green(), colour.Blue()};
    return true;
}

void platform_release() {
    close_all_windows();
    free_all_images();
    clear_collected_events();
    inbox.clear();
    if (!event_loop) return;
    wxTheApp->ProcessPendingEvents();
    wxTheApp->ProcessIdle();
    delete loop_activator;
    delete event_loop;
    loop_activator = nullptr;
    event_loop = nullptr;
    wxTheApp->OnExit();
    wxEntryCleanup();
}

bool backend_open_window(WindowRecord& window) {
    if (!event_loop) return false;
    const bool framed = window.style == WindowStyle::FRAMED;
    const long style = framed ? (wxCAPTION | wxMINIMIZE_BOX | wxCLOSE_BOX | wxSYSTEM_MENU)
                              : (wxBORDER_NONE | wxFRAME_NO_TASKBAR |
                                 (owner_for_new_window() ? wxFRAME_FLOAT_ON_PARENT : 0));
    auto* native = new NativeWindow;
    native->frame = new wxFrame(framed ? nullptr : owner_for_new_window(), wxID_ANY,
                                wxString::FromUTF8(window.title), wxDefaultPosition,
                                wxSize(window.width, window.height), style);
    native->canvas = new wxPanel(native->frame, wxID_ANY, wxDefaultPosition,
                                 wxSize(window.width, window.height), wxTAB_TRAVERSAL);
    native->canvas->SetBackgroundStyle(wxBG_STYLE_PAINT);
    native->canvas->SetBackgroundColour(wxColour(face.red, face.green, face.blue));
    if (framed) native->frame->SetClientSize(window.width, window.height);
    window.native = native;
    bind_input(window.number, *native);
    const wxSize client(window.width, window.height);
    native->frame->Move(centred_corner(client, wxSize()));
    native->frame->Show();
    native->frame->Raise();
    settle_size_and_centre(native->frame, client, framed);
    native->canvas->Refresh(false);
    native->canvas->Update();
    wait_until_painted(window.number);
    native->canvas->SetFocus();
    const wxRect outer = native->frame->GetRect();
    window.outer = {outer.x, outer.y, outer.width, outer.height};
    return true;
}

void backend_close_window(WindowRecord& window) {
    NativeWindow* native = native_of(window);
    if (!native) return;
    native->frame->Hide();
    native->frame->Destroy();
    delete native;
    window.native = nullptr;
    painted_windows.erase(window.number);
    wxTheApp->ProcessIdle();
}

void backend_resize_client(WindowRecord& window) {
    if (NativeWindow* native = native_of(window)) {
        native->frame->SetClientSize(window.width, window.height);
        native->canvas->SetSize(window.width, window.height);
    }
}

void backend_set_visible(WindowRecord& window, bool visible) {
    NativeWindow* native = native_of(window);
    if (!native) return;
    painted_windows.erase(window.number);
    native->frame->Show(visible);
    if (!visible) return;
    native->frame->Raise();
    wait_until_painted(window.number);
}

void backend_set_icon(WindowRecord& window) {
    NativeWindow* native = native_of(window);
    if (!native || !window.icon) return;
    const Image& icon = *window.icon;
    wxImage image(icon.width, icon.height, false);
    if (icon.depth == 32) image.InitAlpha();
    for (size_t i = 0, n = size_t(icon.width) * icon.height; i < n; ++i) {
        const uint8_t* in = icon.pixels.data() + i * channels_of(icon);
        std::copy_n(in, 3, image.GetData() + i * 3);
        if (icon.depth == 32) image.GetAlpha()[i] = in[3];
    }
    wxIcon native_icon;
    native_icon.CopyFromBitmap(wxBitmap(image));
    native->frame->SetIcon(native_icon);
}

void backend_present(WindowRecord& window, Rect area) {
    NativeWindow* native = native_of(window);
    if (!native) return;
    native->canvas->RefreshRect(rect_of(area), false);
    native->canvas->Update();
}

void backend_create_view(WindowRecord& window, ViewRecord& view) {
    if (NativeWindow* native = native_of(window)) view.native = make_system_view(native->canvas, view);
}

void backend_update_view(ViewRecord& view) {
    auto* widget = static_cast<wxWindow*>(view.native);
    if (!widget) return;
    widget->SetPosition(wxPoint(view.place.x, view.place.y));
    if (view.kind == ViewKind::TEXT) {
        auto* text = static_cast<wxStaticText*>(widget);
        if (text->GetLabel() != wxString::FromUTF8(view.text)) set_wrapped_text(text, view);
    } else if (view.kind != ViewKind::IMAGE_BUTTON) {
        widget->SetLabel(wxString::FromUTF8(view.text));
    }
}

void backend_destroy_view(ViewRecord& view) {
    if (auto* widget = static_cast<wxWindow*>(view.native)) widget->Destroy();
    view.native = nullptr;
}

Colour backend_face_colour() { return face; }

Message backend_next_message(int timeout_ms) {
    using clock = std::chrono::steady_clock;
    if (!event_loop) return {};
    if (!inbox.empty()) return take_inbox();
    if (timeout_ms == 0) {
        const bool dispatched = dispatch_one(0);
        if (!inbox.empty()) return take_inbox();
        return dispatched ? message_of(MessageKind::OTHER, -1) : Message{};
    }
    const auto deadline = clock::now() + std::chrono::milliseconds(timeout_ms);
    for (;;) {
        int slice = 1000;
        if (timeout_ms != WAIT_FOREVER) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - clock::now());
            if (left.count() <= 0) return {};
            slice = int(left.count());
        }
        dispatch_one(slice);
        if (!inbox.empty()) return take_inbox();
    }
}

// Dialogs.

void message_box(const std::string& title, const std::string& text) {
    wxMessageDialog box(front_frame() ? front_frame() : owner_for_new_window(),
                        wxString::FromUTF8(text), wxString::FromUTF8(title), wxOK | wxICON_NONE);
    box.ShowModal();
}

std::string choose_file(const std::string& title, const std::string& filter) {
    wxFileDialog chooser(front_frame() ? front_frame() : owner_for_new_window(),
                         wxString::FromUTF8(title), "", "",
                         wxString::FromUTF8(file_dialog_wildcard(filter)), wxFD_OPEN);
    if (chooser.ShowModal() != wxID_OK) return "";
    return chooser.GetPath().utf8_string();
}
