// Modal dialogs. While one is open the program's other windows take no input
// and no game event is taken.
#pragma once

#include <string>

// A message box with one OK button and no icon, owned by the program's front
// window if it has one. Returns when dismissed.
void message_box(const std::string& title, const std::string& text);

// The system's dialog to open one file. filter is "Description|patterns|..."
// with patterns separated by ';'. Returns the full path, or "" on cancel or failure.
// A typed name whose folder exists is accepted even if the file does not.
// The program's current folder is left as it was.
std::string choose_file(const std::string& title, const std::string& filter);
