#!/bin/bash
# Runs every libFuzzer executable (Fuzz*) built in the host tree for a bounded
# time each, growing a persistent corpus per target under <build>/fuzz-corpus
# and seeding it from Tests/<Layer>/FuzzCorpus or the target's <exe>-seeds.
# Crashing inputs land in <build>/fuzz-artifacts/<target>/; copy them to
# Tests/<Layer>/FuzzRegressions.
#
#   scripts/fuzz.sh [seconds per target, default 600]
#   QM_FUZZ_BUILD_DIR=build/other scripts/fuzz.sh 60     # another host tree
#   QM_FUZZ_TARGETS="FuzzJpeg FuzzPng" scripts/fuzz.sh  # only these targets
set -uo pipefail
seconds="${1:-600}"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${QM_FUZZ_BUILD_DIR:-$root/build/host}"
case "$build" in /*) ;; *) build="$root/$build" ;; esac

mapfile -t targets < <(find "$build" -type f -perm -u+x -name 'Fuzz*' ! -name '*.*' | sort)
if [ "${#targets[@]}" -eq 0 ]; then
  echo "no Fuzz* executables in $build (configure with the host preset and build first)" >&2
  exit 2
fi

# The targets write a scratch file per input: keep it in memory when possible.
if [ -z "${TMPDIR:-}" ] && [ -d /dev/shm ] && [ -w /dev/shm ]; then export TMPDIR=/dev/shm; fi

status=0
for exe in "${targets[@]}"; do
  name="$(basename "$exe")"
  if [ -n "${QM_FUZZ_TARGETS:-}" ] && [[ " $QM_FUZZ_TARGETS " != *" $name "* ]]; then continue; fi
  layer="${name#Fuzz}"
  corpus="$build/fuzz-corpus/$name"
  artifacts="$build/fuzz-artifacts/$name/"
  log="$build/fuzz-logs/$name.log"
  mkdir -p "$corpus" "$artifacts" "$(dirname "$log")"
  seeds=()
  [ -d "$root/Tests/$layer/FuzzCorpus" ] && seeds+=("$root/Tests/$layer/FuzzCorpus")
  # Seeds made at build time, linked beside the executable by qm_add_fuzzer.
  [ -d "$exe-seeds" ] && seeds+=("$exe-seeds/")
  echo "== $name: ${seconds}s, corpus $corpus"
  nice -n 10 "$exe" -max_total_time="$seconds" -timeout=10 -max_len=8192 -print_final_stats=1 \
    -artifact_prefix="$artifacts" "$corpus" "${seeds[@]}" >"$log" 2>&1
  rc=$?
  # The last status line carries executions, coverage and speed.
  grep -E '^#[0-9]+' "$log" | tail -n 1
  grep -E 'stat::(number_of_executed_units|average_exec_per_sec|peak_rss_mb)' "$log"
  if [ "$rc" -ne 0 ]; then
    echo "!! $name failed (exit $rc); see $log and $artifacts"
    grep -E 'ERROR|SUMMARY|invariant' "$log" | head -n 5
    status=1
  fi
done
exit "$status"
