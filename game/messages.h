// The texts of the main window's message boxes and of its file chooser.
#pragma once

#include <cstdint>
#include <string>

extern const std::string INSTRUCTIONS_TITLE;
extern const std::string INSTRUCTIONS_TEXT;
extern const std::string GOODBYE_TITLE;
extern const std::string CONGRATULATIONS_TITLE;
extern const std::string CHOOSER_TITLE;
extern const std::string CHOOSER_FILTER;

std::string goodbye_text(int32_t moves);
std::string congratulations_text(int32_t moves);
