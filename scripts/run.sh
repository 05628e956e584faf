#!/usr/bin/env bash
# Installs what is missing, builds, and starts Tavrik on its demo unit: the
# virtual unit tavrik-unitsim on a pseudo-terminal, offered first in the port
# selector. Press "打开", then "开始输出".
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup-deps.sh
./scripts/build.sh default
exec ./scripts/demo.sh "$@"
