#!/bin/sh
# Builds and runs every test: the unit and whole-run tests in the default and the
# sanitizer (AddressSanitizer + UBSan) builds, and the end-to-end tests of the real
# game under a private X server. Installs missing Debian packages first (as root).
set -eu
cd "$(dirname "$0")/.."

tools/install-deps.sh --test
jobs=$(nproc)

cmake --preset default >/dev/null
cmake --build --preset default -j "$jobs"
tools/x-session.sh ctest --preset default -j "$jobs"

cmake --preset asan >/dev/null
cmake --build --preset asan -j "$jobs"
ctest --preset asan -j "$jobs" -LE e2e
tools/fuzz.sh 30
