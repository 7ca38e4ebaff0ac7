// The executable's path, the hand-off of an address to the desktop's default
// handler, and the end of the process.
#include "platform/shell.h"

#include <cstdlib>

#ifdef _WIN32
#include <wx/stdpaths.h>
#include <wx/utils.h>
#else
#include <spawn.h>
#include <unistd.h>

#include <climits>
extern char** environ;
#endif

#ifdef _WIN32

std::string executable_path() {
    return wxStandardPaths::Get().GetExecutablePath().ToStdString();
}

void open_address(const std::string& address) { wxLaunchDefaultBrowser(address); }

#else

std::string executable_path() {
    char path[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    return length > 0 ? std::string(path, size_t(length)) : std::string();
}

// The desktop's URL opener, started and not waited for.
void open_address(const std::string& address) {
    pid_t child;
    char* const arguments[] = {const_cast<char*>("xdg-open"), const_cast<char*>(address.c_str()),
                               nullptr};
    posix_spawnp(&child, "xdg-open", nullptr, nullptr, arguments, environ);
}

#endif

void end_process(int exit_code) { std::exit(exit_code); }
