#include "game/flow.h"

int main() { run_game(); }
