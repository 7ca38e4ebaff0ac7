// The farewell window every started game ends in: the maker's texts, logo, link
// and donation button, and a 30-second countdown that ends the run.
#pragma once

#include <cstdint>
#include <string>

constexpr int FAREWELL_WINDOW = 1000;
constexpr int FAREWELL_FRAME = 1001;
constexpr int OK_BUTTON = 1002;
constexpr int LOGO_BUTTON = 1003;
constexpr int DONATE_BUTTON = 1004;
constexpr int GREETING_TEXT = 1005;
constexpr int MAKER_LINK = 1006;
constexpr int DONATE_TEXT = 1007;
constexpr int COUNTDOWN_TEXT = 1008;
constexpr int LOGO_IMAGE = 0;
constexpr int DONATE_IMAGE = 1;
constexpr int COUNTDOWN_SECONDS = 30;
constexpr int COUNTDOWN_WAIT_MS = 100;

// The maker's home page, which the logo and the link open.
std::string home_page_address();

// Builds the window and counts down. A click or shortcut ends the run (after
// handing the home page or the donation address to the browser where it asks
// for it), as does the end of the countdown; a close request returns.
void run_farewell();
// Opens the window; only if it opened, its pictures, views and shortcuts.
void build_farewell_window();
// The donation page's address for a program file's full path.
std::string donation_address(const std::string& executable_path);
// Every byte outside RFC 3986's unreserved characters as %XX.
std::string percent_encoded(const std::string& text);
