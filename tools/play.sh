#!/bin/sh
# Builds the game and starts it. Installs missing Debian packages first (as root).
set -eu
cd "$(dirname "$0")/.."

tools/install-deps.sh
cmake --preset default -DTESSAROO_TESTS=OFF >/dev/null
cmake --build --preset default -j "$(nproc)" --target tessaroo
exec build/default/game/tessaroo
