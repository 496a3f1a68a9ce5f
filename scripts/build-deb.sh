#!/usr/bin/env bash
# Builds the Debian package of Stratalog in build/deb and prints its path; install it with
#   sudo apt install ./build/deb/stratalog_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
# The package's dependencies are read off the program by dpkg-shlibdeps.
if ! command -v dpkg-shlibdeps >/dev/null; then
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq dpkg-dev
fi
cmake -S . -B build/deb -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
      -DSTRATALOG_TESTS=OFF -DSTRATALOG_BENCH=OFF >/dev/null
cmake --build build/deb --target stratalog stratalog-sim
(cd build/deb && cpack -G DEB >/dev/null)
ls "$PWD"/build/deb/stratalog_*.deb
