// The farewell window and its countdown loop.
#include "farewell/farewell.h"

#include "game/board_view.h"
#include "game/flow.h"
#include "media/assets.h"
#include "media/pictures.h"
#include "platform/clock.h"
#include "platform/event.h"
#include "platform/image.h"
#include "platform/shell.h"
#include "platform/window.h"

namespace {

const std::string PAYPAL_ADDRESS = "https://www.paypal.com";
const std::string DONATION_ACCOUNT = "donate@corvenna.example";
const std::string FRAME_CAPTION = "Corvenna freeware";
const std::string GREETING =
    "Hope you found this program enjoyable, useful and easy to use. Corvenna provides a "
    "range of software including accounting, web and educational software.";
const std::string DONATE_INVITATION =
    "If you would like to donate via Paypal any amount to help develop more free software "
    "applications, click Donate.";
constexpr Colour LINK_HOVER{0, 0, 255};

// Image `number` freed, then the picture decoded into it if it decodes.
void load_builtin_image(int number, const ByteBlock& block) {
    free_image(number);
    if (auto picture = decode_picture(block.bytes())) put_image(number, std::move(*picture));
}

// The program file's name without its directory and without its last four
// characters (the extension on the system this was first made for).
std::string item_of(const std::string& executable_path) {
    const size_t slash = executable_path.find_last_of("\\/");
    std::string name = slash == std::string::npos ? executable_path : executable_path.substr(slash + 1);
    return name.size() <= 4 ? "" : name.substr(0, name.size() - 4);
}

// The difference of two 32-bit tick counts read as signed: a wrap changes nothing.
int32_t elapsed_since(uint32_t start) { return int32_t(tick_count() - start); }

void act_on(int number) {
    if (number == LOGO_BUTTON || number == MAKER_LINK) open_address(home_page_address());
    if (number == DONATE_BUTTON) open_address(donation_address(executable_path()));
}

}  // namespace

// Put together when asked: MAKER_HOST is another file's global, which may not
// be made yet while this file's globals are.
std::string home_page_address() { return "http://" + MAKER_HOST; }

std::string percent_encoded(const std::string& text) {
    static const char HEX[] = "0123456789ABCDEF";
    std::string encoded;
    for (unsigned char c : text) {
        const bool unreserved = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                                (c >= '0' && c <= '9') || c == '-' || c == '.' || c == '_' ||
                                c == '~';
        if (unreserved) {
            encoded += char(c);
        } else {
            encoded += '%';
            encoded += HEX[c >> 4];
            encoded += HEX[c & 15];
        }
    }
    return encoded;
}

// The item name is percent-encoded, so that a program file named with '&', '#',
// '?', '%' or a blank cannot change or break the address's parameters.
std::string donation_address(const std::string& executable_path) {
    return PAYPAL_ADDRESS + "/xclick/business=" + percent_encoded(DONATION_ACCOUNT) +
           "&item_name=" + percent_encoded("Donation for " + item_of(executable_path)) +
           "&no_note=1&tax=0&no_shipping=1&currency_code=USD";
}

void build_farewell_window() {
    if (!open_window(FAREWELL_WINDOW, "", 360, 295, WindowStyle::BORDERLESS)) return;
    load_builtin_image(LOGO_IMAGE, LogoPicture);
    load_builtin_image(DONATE_IMAGE, DonatePicture);
    create_frame_view(FAREWELL_WINDOW, FAREWELL_FRAME, {5, 10, 350, 270}, FRAME_CAPTION);
    create_push_button(FAREWELL_WINDOW, OK_BUTTON, {155, 240, 60, 30}, "Ok");
    create_image_button(FAREWELL_WINDOW, LOGO_BUTTON, {15, 30, 107, 116}, LOGO_IMAGE);
    create_image_button(FAREWELL_WINDOW, DONATE_BUTTON, {15, 165, 107, 61}, DONATE_IMAGE);
    create_text_view(FAREWELL_WINDOW, GREETING_TEXT, {125, 30, 210, 95}, GREETING, true);
    create_hyperlink(FAREWELL_WINDOW, MAKER_LINK, {135, 130, 195, 20}, MAKER_HOST, LINK_HOVER, true);
    create_text_view(FAREWELL_WINDOW, DONATE_TEXT, {125, 160, 210, 65}, DONATE_INVITATION, true);
    create_text_view(FAREWELL_WINDOW, COUNTDOWN_TEXT, {15, 260, 20, 15},
                     std::to_string(COUNTDOWN_SECONDS), false);
    for (int key : {KEY_RETURN, KEY_SPACE, KEY_ESCAPE})
        add_shortcut(FAREWELL_WINDOW, key, MODIFIER_NONE, OK_BUTTON);
}

// A click or shortcut is acted on before the time is looked at, so one that
// arrives just after the limit still counts; a close request is looked at last.
void run_farewell() {
    build_farewell_window();
    const uint32_t start = tick_count();
    for (;;) {
        const UiEvent event = wait_event(COUNTDOWN_WAIT_MS);
        if (event.kind == EventKind::VIEW_CLICK || event.kind == EventKind::SHORTCUT) {
            act_on(event.number);
            stop_program();
        }
        if (elapsed_since(start) > COUNTDOWN_SECONDS * 1000) stop_program();
        set_view_text(COUNTDOWN_TEXT, std::to_string(COUNTDOWN_SECONDS - elapsed_since(start) / 1000));
        if (event.kind == EventKind::CLOSE_REQUEST) return;
    }
}
