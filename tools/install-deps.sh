#!/bin/sh
# Installs the Debian packages that building, running and testing Tessaroo need.
# Idempotent: asks apt only for what is missing. Run as root (or with sudo).
#   tools/install-deps.sh          packages to build and play
#   tools/install-deps.sh --test   also what the tests need (X server, sanitizers, fuzzing)
#   tools/install-deps.sh --bench  what the benchmark compares against
set -eu

build="g++ cmake ninja-build pkg-config libjpeg62-turbo-dev libpng-dev zlib1g-dev
       libwxgtk3.2-dev libsdl2-dev xdg-utils fonts-dejavu-core"
test="libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth openbox xdotool
      imagemagick x11-utils clang libclang-rt-14-dev python3 desktop-file-utils
      appstream dpkg-dev binutils-mingw-w64-x86-64 cpp libgdk-pixbuf-2.0-dev"
bench="libgdk-pixbuf-2.0-dev libvips-tools"

wanted=$build
[ "${1:-}" = "--test" ] && wanted="$build $test"
[ "${1:-}" = "--bench" ] && wanted="$bench"

missing=""
for p in $wanted; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' ||
        missing="$missing $p"
done
[ -z "$missing" ] && exit 0

echo "installing:$missing"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO=sudo
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
# shellcheck disable=SC2086
$SUDO apt-get install -y -qq --no-install-recommends $missing
