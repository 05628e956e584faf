#!/usr/bin/env bash
# The demo: a virtual unit on a pseudo-terminal and Tavrik next to it. Without
# a display it converts a generated drive with tavrik-convert instead.
set -euo pipefail
cd "$(dirname "$0")/.."
bin="$PWD/build/bin"
demo="$PWD/build/demo"
mkdir -p "$demo"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display: converting a generated drive instead of starting the window."
  "$bin/tavrik-makelog" --frames 3000 --noise 5 "$demo/drive.log"
  "$bin/tavrik-convert" -c vel,pos,att,time "$demo/drive.log" "$demo/drive.txt"
  echo "Raw log:        $demo/drive.log ($(wc -c <"$demo/drive.log") characters)"
  echo "Converted file: $demo/drive.txt ($(($(wc -l <"$demo/drive.txt") - 1)) rows)"
  head -n 6 "$demo/drive.txt" | iconv -f GBK -t UTF-8
  exit 0
fi

# The program reads its configuration from the working directory.
[ -f "$demo/config" ] || printf 'KDV1\r\n' >"$demo/config"
port="$demo/unit-port"
"$bin/tavrik-unitsim" --variant KDV1 --link "$port" >"$demo/unitsim.out" 2>&1 &
unit=$!
trap 'kill "$unit" 2>/dev/null || true' EXIT
for _ in $(seq 50); do [ -e "$port" ] && break; sleep 0.1; done
echo "Virtual unit on $(head -n 1 "$demo/unitsim.out") (also $port)."
cd "$demo"
TAVRIK_EXTRA_PORTS="$port" "$bin/tavrik"
