#!/usr/bin/env bash
# The built-in demo: records a generated drive as a raw log and converts it to
# a column text file with tavrik-convert, then shows the first rows.
set -euo pipefail
cd "$(dirname "$0")/.."
bin=build/bin
demo=build/demo
mkdir -p "$demo"
"$bin/tavrik-makelog" --frames 3000 --noise 5 "$demo/drive.log"
"$bin/tavrik-convert" -c vel,pos,att,time "$demo/drive.log" "$demo/drive.txt"
echo "Raw log:        $demo/drive.log ($(wc -c <"$demo/drive.log") characters)"
echo "Converted file: $demo/drive.txt ($(($(wc -l <"$demo/drive.txt") - 1)) rows)"
head -n 6 "$demo/drive.txt" | iconv -f GBK -t UTF-8
