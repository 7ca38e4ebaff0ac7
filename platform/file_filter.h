// The file chooser's filter text, "Description|patterns|Description|patterns",
// as the system's dialog wants it.
#pragma once

#include <string>

// On systems whose file names are case sensitive each letter of a pattern also
// matches its other case ("*.jpg" becomes "*.[jJ][pP][gG]"), so PHOTO.JPG is offered.
std::string file_dialog_wildcard(const std::string& filter);
