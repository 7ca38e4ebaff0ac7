#!/bin/sh
# Builds and runs the picture-loading benchmark against gdk-pixbuf and libvips.
# Installs what it needs first (as root). Inputs (about 270 MB) go to bench-inputs/.
#   tools/bench.sh [ROUNDS]
set -eu
cd "$(dirname "$0")/.."

tools/install-deps.sh --test
tools/install-deps.sh --bench
cmake --preset default >/dev/null
cmake --build --preset default --target picture-bench
exec build/default/bench/picture-bench "${1:-21}" bench-inputs
