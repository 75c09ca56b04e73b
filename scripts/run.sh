#!/usr/bin/env bash
# Installs what is missing, builds, and shows a bundled sample pattern.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
./scripts/build.sh >/dev/null
exec ./build/src/cli/lobeconv dump data/samples/dipole.nsma
