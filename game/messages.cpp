// Leading blanks are part of the texts: they centre the lines by eye in the box.
#include "game/messages.h"

const std::string INSTRUCTIONS_TITLE = "Puzzle Time";
const std::string INSTRUCTIONS_TEXT =
    "    Your picture will now be scrambled!\n"
    "Put your picture back in order by clicking\n"
    "  above,below or beside the black square\n"
    "           to solve the puzzle!\n"
    " Press ctrl-P to see your original picture";
const std::string GOODBYE_TITLE = "Goodbye";
const std::string CONGRATULATIONS_TITLE = "Congratulations";
const std::string CHOOSER_TITLE = "Choose a picture";
const std::string CHOOSER_FILTER = "Images Formats|*.jpg;*.png;*.bmp";

std::string goodbye_text(int32_t moves) {
    return "     Better luck next time...\nyou are giving up after " + std::to_string(moves) +
           " moves!";
}

std::string congratulations_text(int32_t moves) {
    return "You have solved the tessaroo\nin " + std::to_string(moves) + " moves!";
}
