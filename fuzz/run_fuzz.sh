#!/usr/bin/env bash
# Builds the fuzz targets with clang, libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer
# in their own build folder and fuzzes each target for the given number of seconds.
#
#   fuzz/run_fuzz.sh [-j JOBS] [-b BUILD_DIR] [-t "TARGET..."] SECONDS
#
# JOBS targets run at once (default 2). Each starts from the committed corpus fuzz/corpus/<target>
# (read only) and from what earlier runs kept in BUILD_DIR/corpus/<target>, where new inputs go.
# A finding is saved in BUILD_DIR/findings/<target>/; the script then fails and names it. To keep
# a finding as a regression test, copy it into fuzz/corpus/<target>/ under a telling name.
# Every target's figures (executions, coverage, corpus) are printed at the end and kept in
# BUILD_DIR/logs/<target>.log. Further libFuzzer options may come in STAKKO_FUZZ_ARGS (for
# instance "-max_len=65536" to look for inputs that take too long or too much memory).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

jobs=2
build="$root/build-fuzz"
only=""
while getopts "j:b:t:" option; do
  case $option in
    j) jobs=$OPTARG ;;
    b) build=$(realpath -m "$OPTARG") ;;
    t) only=$OPTARG ;;
    *) echo "usage: fuzz/run_fuzz.sh [-j JOBS] [-b BUILD_DIR] [-t \"TARGET...\"] SECONDS" >&2; exit 2 ;;
  esac
done
shift $((OPTIND - 1))
seconds=${1:?"usage: fuzz/run_fuzz.sh [-j JOBS] [-b BUILD_DIR] [-t \"TARGET...\"] SECONDS"}

targets=$(sed -n '/^set(stakko_fuzz_targets/,/)/p' fuzz/CMakeLists.txt |
  sed -e 's/set(stakko_fuzz_targets//' -e 's/)//' | tr -s ' \n' ' ')
[ -n "$only" ] && targets=$only

echo "== fuzz build (clang, libFuzzer, ASan, UBSan) in $build"
flags="-O1 -g -fno-omit-frame-pointer -fsanitize=fuzzer-no-link,address,undefined,float-cast-overflow -fno-sanitize-recover=all"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=None -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_C_FLAGS="$flags" -DCMAKE_CXX_FLAGS="$flags" \
  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined,float-cast-overflow" \
  -DSTAKKO_FUZZ_ENGINE=ON -DSTAKKO_TESTS=OFF -DSTAKKO_BENCH=OFF >/dev/null
build_targets=""
for t in $targets; do build_targets="$build_targets fuzz_$t"; done
# shellcheck disable=SC2086
cmake --build "$build" -j"$jobs" --target $build_targets

export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
# The targets write their inputs to files many thousand times a second: keep them in memory.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then export TMPDIR=/dev/shm; fi
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:symbolize=1:max_allocation_size_mb=1024
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
mkdir -p "$build/logs"

# One target: the libFuzzer options keep a run bounded in time and memory. A single allocation
# above 512 MB is a finding: no input of a few kilobytes has a right to it.
fuzz_one() {
  local t=$1 corpus="$build/corpus/$1" findings="$build/findings/$1/"
  mkdir -p "$corpus" "$findings"
  "$build/fuzz/fuzz_$t" "$corpus" "$root/fuzz/corpus/$t" \
    -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -malloc_limit_mb=512 \
    -artifact_prefix="$findings" -print_final_stats=1 -close_fd_mask=1 ${STAKKO_FUZZ_ARGS:-} \
    >"$build/logs/$t.log" 2>&1
}

declare -A status
pids=()
names=()
for t in $targets; do
  while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do wait -n || true; done
  echo "-- fuzzing $t for ${seconds}s"
  fuzz_one "$t" &
  pids+=($!)
  names+=("$t")
done
for i in "${!pids[@]}"; do
  if wait "${pids[$i]}"; then status[${names[$i]}]=0; else status[${names[$i]}]=$?; fi
done

failed=0
printf '%-14s %12s %8s %8s %10s %s\n' target executions cov ft corpus result
for t in $targets; do
  log="$build/logs/$t.log"
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  last=$(grep -E '^#[0-9]+' "$log" | tail -1 || true)
  cov=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$last")
  ft=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$last")
  corp=$(sed -n 's/.* corp: \([0-9]*\/[0-9A-Za-z]*\).*/\1/p' <<<"$last")
  result=ok
  if [ "${status[$t]}" != 0 ]; then
    result="FINDING (status ${status[$t]}): $(ls -t "$build/findings/$t/" | head -1)"
    failed=1
  fi
  printf '%-14s %12s %8s %8s %10s %s\n' "$t" "${execs:-?}" "${cov:-?}" "${ft:-?}" "${corp:-?}" "$result"
done
if [ "$failed" != 0 ]; then
  echo "Fuzzing found problems: see $build/logs/ and $build/findings/." >&2
  exit 1
fi
