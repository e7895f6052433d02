#!/usr/bin/env bash
# Runs every fuzz target of a fuzz build for a time budget each, starting from the seed
# corpora under tests/fuzz/<target>/, the inputs of past findings for that target
# (tests/fuzz/findings/<target>-*) and the build's own mappack.dat and epack.dat for their
# targets (all copied: the seeds are never changed).
#   tools/fuzz/run.sh BUILD_DIR SECONDS_PER_TARGET
# Prints each target's executions; exits non-zero if any target found a crash, a hang or a
# sanitizer report (its reproducer is left in the work folder that it names).
set -u
build="$(cd "$1" && pwd)"
seconds="$2"
root="$(cd "$(dirname "$0")/../.." && pwd)"
work="$(mktemp -d /tmp/tessaly-fuzz-XXXXXX)"
status=0
for target in "$build"/fuzz-*; do
  name="${target##*/fuzz-}"
  corpus="$work/$name"
  mkdir -p "$corpus"
  [ -d "$root/tests/fuzz/$name" ] && cp "$root/tests/fuzz/$name"/* "$corpus"/ 2>/dev/null
  cp "$root/tests/fuzz/findings/$name"-* "$corpus"/ 2>/dev/null
  [ -f "$build/$name.dat" ] && cp "$build/$name.dat" "$corpus/game-$name.dat"
  log="$work/$name.log"
  (cd "$work" && ASAN_OPTIONS=detect_leaks=0:abort_on_error=0 "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -max_len=65536 -close_fd_mask=3 -detect_leaks=0 -print_final_stats=1 "$corpus" >"$log" 2>&1)
  rc=$?
  execs=$(grep -m1 'stat::number_of_executed_units' "$log" | awk '{print $2}')
  if [ "$rc" -ne 0 ]; then
    echo "fuzz-$name: FAILED after ${execs:-?} executions (see $log)"
    tail -n 30 "$log"
    status=1
  else
    echo "fuzz-$name: ${execs:-?} executions in ${seconds} s, no finding"
  fi
done
[ "$status" -eq 0 ] && rm -rf "$work"
exit $status
