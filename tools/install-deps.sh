#!/usr/bin/env bash
# Installs the Debian packages that building, testing and running Tellurix need.
# Safe to run again: apt-get skips what is already there.
set -euo pipefail

packages=(
  # build and test
  cmake ninja-build g++ pkg-config googletest libgtest-dev libgmock-dev libbenchmark-dev
  # libraries (qt6-base-dev brings Qt Widgets, Gui, Network and Test)
  qt6-base-dev qt6-base-private-dev libxlsxwriter-dev libjpeg62-turbo-dev libxml2-dev libexiv2-dev
  # tools the tests and benchmarks call
  libxml2-utils gpsbabel exiv2 libimage-exiftool-perl hyperfine unzip locales xvfb xauth
  # fuzzing
  clang libclang-rt-14-dev
  # the format check
  clang-format
  # the Debian package and its checks
  dpkg-dev lintian appstream
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if ((${#missing[@]})); then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO env DEBIAN_FRONTEND=noninteractive apt-get update -q
  $SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# A decimal-comma locale for the locale-independence tests.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf8$'; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO localedef -i de_DE -f UTF-8 de_DE.UTF-8 || true
fi
