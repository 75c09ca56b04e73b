#!/usr/bin/env bash
# Configures and builds Lobeview into build/. Builds made here talk to an
# analyser on loopback only.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -DLOBEVIEW_DEFAULT_DSA_IP=127.0.0.1 "$@" >/dev/null
cmake --build build -j"$(nproc)"
