#!/usr/bin/env bash
# The whole suite again under AddressSanitizer with UBSan and under
# ThreadSanitizer (after ./scripts/test.sh, which installs what is missing).
# Prints how long each preset took.
set -euo pipefail
cd "$(dirname "$0")/.."
for preset in asan tsan; do
  start=$(date +%s)
  ./scripts/build.sh "$preset"
  ctest --preset "$preset" -j"$(nproc)"
  echo "$preset: $(( $(date +%s) - start )) s" >&2
done
