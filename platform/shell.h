// What the game asks of the operating system's shell.
#pragma once

#include <string>

// The full path of the running executable ("" if the system does not tell).
std::string executable_path();
// Hands an address to the system's default handler without waiting for it.
void open_address(const std::string& address);
// Ends the process with an exit code. Does not return.
[[noreturn]] void end_process(int exit_code);
