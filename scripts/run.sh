#!/usr/bin/env bash
# Installs what is missing, builds, and opens the window on a bundled sample.
# The program is started in data/, where it finds its envelope library and
# help text. It needs a display; on a machine without one, run it under
# xvfb-run or look at docs/images.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
./scripts/build.sh >/dev/null
cd data
exec ../build/src/app/lobeview samples/yagi.nsma
