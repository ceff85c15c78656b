# SPDX-License-Identifier: GPL-2.0-or-later
# Shared by the run and test commands: Debian packages and the build.
# shellcheck shell=bash

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# The build folder of the run, test and package commands; the sanitizer and
# fuzz builds of the test command sit beside it (BUILD-sanitize, BUILD-fuzz).
BUILD=$(realpath -m "${CORVANE_BUILD_DIR:-$ROOT/build}")
BUILD_PACKAGES="cmake make g++ pkg-config libgtk2.0-dev libpng-dev libnotify-dev libgtest-dev"
DESKTOP_PACKAGES="xvfb xauth openbox trayer x11-utils x11-xserver-utils wmctrl xdotool imagemagick procps fonts-dejavu-core python3"
TEST_PACKAGES="xclip util-linux dbus at-spi2-core libatk-adaptor libgail-common python3-pyatspi python3-gi python3-xlib"
# clang with its sanitizer and libFuzzer runtimes, for the fuzz targets.
FUZZ_PACKAGES="clang libclang-rt-14-dev"
IMAGE_PACKAGES="librsvg2-bin fonts-dejavu-core python3 python3-pil"
# Checking the launcher, building the Debian package and checking it.
PACKAGE_PACKAGES="desktop-file-utils dpkg-dev file lintian"
# Checking the installed program's hardening and the AppStream entry.
CHECK_PACKAGES="devscripts appstream"

# Whatever stops a script through `set -e` says so, in one line (a failing
# $(...) is reported once, by the line using it).
stopped() {
    [ "$BASH_SUBSHELL" -eq 0 ] || return 0
    echo "corvane: ${0##*/} stopped: \"$2\" failed with status $1" >&2
}
set -E
trap 'stopped $? "$BASH_COMMAND"' ERR

as_root() {
    if [ "$(id -u)" -eq 0 ]; then
        "$@"
    elif command -v sudo >/dev/null 2>&1; then
        sudo "$@"
    else
        echo "corvane: need root (or sudo) to run: $*" >&2
        return 1
    fi
}

# Installs whichever of the named Debian packages are missing.
ensure_packages() {
    local missing=()
    local package
    for package in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$package")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "corvane: installing ${missing[*]}" >&2
    as_root env DEBIAN_FRONTEND=noninteractive apt-get update -qq &&
        as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq \
            "${missing[@]}" >/dev/null
}

# Configures and builds into the given folder, with any extra CMake options;
# after a "--", only the named targets are built.
build_corvane() {
    local dir=$1 options=() targets=() target
    shift
    while [ $# -gt 0 ] && [ "$1" != -- ]; do
        options+=("$1")
        shift
    done
    [ $# -eq 0 ] || shift
    for target in "$@"; do targets+=(--target "$target"); done
    cmake -S "$ROOT" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${options[@]}" >/dev/null &&
        cmake --build "$dir" -j"$(nproc)" "${targets[@]}"
}

# Runs a command every 0.1 s until it succeeds.  After LIMIT seconds it says
# that WHAT did not come up, and fails.
wait_until() {
    local limit=$1 what=$2
    shift 2
    local deadline=$((SECONDS + limit))
    until "$@"; do
        if [ "$SECONDS" -ge "$deadline" ]; then
            echo "corvane: $what did not come up within $limit s" >&2
            return 1
        fi
        sleep 0.1
    done
}
