#!/usr/bin/env bash
# A fuzz campaign: every libFuzzer target of the fuzz build runs for a given
# time with its seeds and a corpus that persists between campaigns, outside
# the repository. Whatever a target finds (crash, leak, timeout, out of
# memory) is kept as a regression seed in its seed folder under fuzz/seeds/,
# so the short fuzz runs of every test run replay it from then on.
#
# Usage: scripts/fuzz-campaign.sh [SECONDS_PER_TARGET] [BUILD_DIR]
#   SECONDS_PER_TARGET  default 600
#   BUILD_DIR           default build-fuzz; configured from the fuzz preset
#                       when it is not configured yet, and brought up to date
# Environment:
#   FUZZ_WORK_DIR  corpus and findings (default ~/.cache/tavrik-fuzz):
#                  <dir>/corpus/<target>, <dir>/findings/<target>
#   FUZZ_JOBS      targets run side by side (default 1)
#   FUZZ_TARGETS   only these targets (space separated names)
#   FUZZ_TIMEOUT   seconds one input may take before it counts as a hang
#                  (default 10)
#   FUZZ_MAX_FINDINGS  a target's turn ends after this many findings
#                  (default 5; variants of one fault need not all be kept)
# Prints one line per target: runs, coverage, corpus size, findings. Exits 1
# when anything was found or a target could not be built, 0 otherwise.
set -euo pipefail
cd "$(dirname "$0")/.."
repo="$(pwd)"

seconds="${1:-600}"
build="${2:-build-fuzz}"
[[ "$build" = /* ]] || build="$repo/$build"
work="${FUZZ_WORK_DIR:-$HOME/.cache/tavrik-fuzz}"
jobs="${FUZZ_JOBS:-1}"
hang="${FUZZ_TIMEOUT:-10}"
most="${FUZZ_MAX_FINDINGS:-5}"
if ! [[ "$seconds" =~ ^[0-9]+$ && "$seconds" -gt 0 && "$jobs" =~ ^[0-9]+$ && "$jobs" -gt 0 ]]; then
  echo "usage: $0 [SECONDS_PER_TARGET] [BUILD_DIR]   (FUZZ_JOBS a positive number)" >&2
  exit 2
fi

# The fuzz build: configured from the preset (in the given directory), and
# built with the jobs this machine has; a target that does not compile is
# reported and the others still run.
if [[ ! -f "$build/CMakeCache.txt" ]]; then
  cmake --preset fuzz -B "$build" >/dev/null
fi
if ! cmake --build "$build" -j"$(nproc)" -- -k 0 >"$build/fuzz-campaign-build.log" 2>&1; then
  echo "warning: part of the fuzz build failed; see $build/fuzz-campaign-build.log" >&2
  grep -E '^FAILED:' "$build/fuzz-campaign-build.log" >&2 || true
fi

# The targets as ctest knows them (everything tavrik_add_fuzzer registered):
# name, executable, and the seed folder its test replays (may be empty).
list_targets() {
  ctest --test-dir "$build" -N -V -L fuzz 2>/dev/null | python3 -c '
import re, shlex, sys
command = []
for line in sys.stdin:
    m = re.match(r"(?:\d+: )?Test command: ?(.*)$", line.rstrip("\n"))
    if m:
        command = shlex.split(m.group(1))
        continue
    m = re.match(r"\s*Test\s+#\d+: (\S+)", line)
    if m:
        # Without its executable ctest leaves the program out of the command.
        exe = command[0] if command and not command[0].startswith("-") else "-"
        seeds = [w for w in command if "/fuzz/seeds/" in w]
        print(m.group(1), exe, seeds[0] if seeds else "-")
        command = []
'
}

targets=()
while read -r name exe seeds; do
  if [[ -n "${FUZZ_TARGETS:-}" && " $FUZZ_TARGETS " != *" $name "* ]]; then continue; fi
  targets+=("$name|$exe|$seeds")
done < <(list_targets)
if [[ ${#targets[@]} -eq 0 ]]; then
  echo "no fuzz targets found in $build" >&2
  exit 2
fi

summaries="$(mktemp -d)"
trap 'rm -rf "$summaries"' EXIT

# One target for the whole time. libFuzzer stops at its first finding, so
# the run is started again on the grown corpus for the time that is left;
# a finding that comes back within seconds (an input the corpus itself
# holds, or one a step away) ends the target's turn.
run_target() {
  local name="$1" exe="$2" seeds="$3"
  local corpus="$work/corpus/$name" findings="$work/findings/$name"
  mkdir -p "$corpus" "$findings"
  local seedDir="$seeds" note=""
  if [[ "$seeds" == "-" ]]; then
    # No seed folder is registered for this target: its findings are kept
    # where one would be, and its test must be given SEEDS to replay them.
    seedDir="$repo/fuzz/seeds/${name#fuzz_}"
    note=" (no seed folder registered; add SEEDS ${name#fuzz_} to its tavrik_add_fuzzer)"
  fi
  if [[ ! -x "$exe" ]]; then
    printf '%-28s not built\n' "$name" >"$summaries/$name"
    return
  fi
  local started=$SECONDS left=$seconds round=0 runs=0 cov=0 corp=0 kept=() names=""
  while ((left > 0)); do
    round=$((round + 1))
    local log="$findings/run-$round.log"
    local args=(-max_total_time="$left" -rss_limit_mb=2048 -timeout="$hang"
      -artifact_prefix="$findings/" -print_final_stats=1 "$corpus")
    [[ "$seeds" != "-" && -d "$seeds" ]] && args+=("$seeds")
    local status=0 roundStart=$SECONDS
    "$exe" "${args[@]}" >"$log" 2>&1 || status=$?
    # The last status line has the executions so far and the coverage.
    local last
    last=$(grep -E '^#[0-9]+' "$log" | tail -n 1 || true)
    if [[ -n "$last" ]]; then
      runs=$((runs + $(sed -E 's/^#([0-9]+).*/\1/' <<<"$last")))
      local c p
      c=$(sed -nE 's/.* cov: ([0-9]+).*/\1/p' <<<"$last")
      p=$(sed -nE 's/.* corp: ([0-9]+).*/\1/p' <<<"$last")
      [[ -n "$c" && "$c" -gt "$cov" ]] && cov=$c
      [[ -n "$p" ]] && corp=$p
    fi
    # libFuzzer names the input it stopped on; slow units are not findings.
    local artifacts repeat=0 artifact
    artifacts=$(sed -nE 's/.*Test unit written to (.*)$/\1/p' "$log" |
      grep -E '/(crash|leak|timeout|oom)-[0-9a-f]+$' || true)
    for artifact in $artifacts; do
      local base
      base=$(basename "$artifact")
      if [[ " $names " == *" $base "* ]]; then
        repeat=1
        continue
      fi
      names+=" $base"
      mkdir -p "$seedDir"
      local target="$seedDir/regression-$base"
      [[ -e "$target" ]] || cp "$artifact" "$target"
      kept+=("${target#"$repo"/} (log: $log)")
    done
    if [[ $status -ne 0 && -z "$artifacts" ]]; then
      kept+=("exit $status without an input, see $log")
      break
    fi
    [[ $status -eq 0 ]] && break
    # The same input again at once is one the corpus (nearly) holds: going
    # on would only find it again.
    ((repeat && SECONDS - roundStart < 5)) && break
    ((${#kept[@]} >= most)) && break
    left=$((seconds - (SECONDS - started)))
  done
  local found="none"
  ((${#kept[@]})) && found="${#kept[@]}: ${kept[*]}"
  printf '%-28s runs %-10s cov %-6s corpus %-6s findings %s%s\n' "$name" "$runs" "$cov" "$corp" \
    "$found" "$( ((${#kept[@]})) && echo "$note")" >"$summaries/$name"
}

echo "fuzz campaign: ${#targets[@]} targets, ${seconds} s each, $jobs at a time, corpus in $work"
running=0
for entry in "${targets[@]}"; do
  IFS='|' read -r name exe seeds <<<"$entry"
  run_target "$name" "$exe" "$seeds" &
  running=$((running + 1))
  if ((running >= jobs)); then
    wait -n || true
    running=$((running - 1))
  fi
done
wait

findings=0
for entry in "${targets[@]}"; do
  IFS='|' read -r name _ _ <<<"$entry"
  cat "$summaries/$name"
  grep -q 'findings none' "$summaries/$name" || findings=1
done
exit $findings
