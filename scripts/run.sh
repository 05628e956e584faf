#!/usr/bin/env bash
# Installs what is missing, builds, and runs the program's main job on its
# built-in demo: a log of generated frames converted to a column text file.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup-deps.sh
./scripts/build.sh default
exec ./scripts/demo.sh "$@"
