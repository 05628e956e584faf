#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test through ctest, then a
# short run of every fuzz target.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup-deps.sh
./scripts/build.sh default
ctest --preset default -j"$(nproc)"
./scripts/build.sh fuzz
ctest --preset fuzz -j"$(nproc)"
