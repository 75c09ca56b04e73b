#!/usr/bin/env bash
# Builds the Debian package into build-pkg/ and prints its path.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh >&2
cmake -S . -B build-pkg -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr -DBUILD_TESTING=OFF \
  -DLOBEVIEW_DEFAULT_DSA_IP=127.0.0.1 >/dev/null
cmake --build build-pkg -j"$(nproc)" >&2
(cd build-pkg && cpack -G DEB >&2)
ls build-pkg/lobeview_*.deb
