#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, ASan + UBSan) in build/fuzz and runs one of them
# for SECONDS, seeded from the example and test records and the shared samples.
#   scripts/fuzz.sh TARGET SECONDS [libFuzzer options...]
#   TARGET: scp_reader waveform_decoder bio_reader raw12_reader raw8_reader raw16_reader,
#           or all (each in turn for SECONDS)
#   scripts/fuzz.sh scp_reader 900 -runs=1000000    stops after a million executions
# The corpus grows in build/fuzz/corpus/TARGET from run to run; findings land in
# build/fuzz/findings/ (replay one with build/fuzz/fuzz/fuzz_TARGET FILE). The shared
# samples are taken from KTX_SAMPLES_DIR, else ../shared/samples. Prints the executions
# and executions per second of each run; exits 1 on a finding.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ $# -lt 2 ]; then
  sed -n '2,11p' "$0" | sed 's/^# \{0,1\}//'
  exit 2
fi
target=${1#fuzz_}
seconds=$2
shift 2
targets=(scp_reader waveform_decoder bio_reader raw12_reader raw8_reader raw16_reader)
if [ "$target" = all ]; then
  selected=("${targets[@]}")
elif [[ " ${targets[*]} " == *" $target "* ]]; then
  selected=("$target")
else
  echo "fuzz.sh: no target '$target'" >&2
  exit 2
fi

build=build/fuzz
if [ ! -f "$build/CMakeCache.txt" ]; then
  launcher=()
  command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache
    -DCMAKE_C_COMPILER_LAUNCHER=ccache)
  CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DKTX_BUILD_FUZZ=ON -DKTX_BUILD_TESTS=OFF -DKTX_BUILD_TOOLS=OFF "${launcher[@]}" >/dev/null
fi
cmake --build "$build" -j2 --target "${selected[@]/#/fuzz_}" >/dev/null

samples=${KTX_SAMPLES_DIR:-../shared/samples}/scp
findings=$build/findings
mkdir -p "$findings"
for name in "${selected[@]}"; do
  case "$name" in
    scp_reader | waveform_decoder)
      seeds=(examples/*.scp tests/automation/objects_show/*.scp)
      [ -d "$samples" ] && seeds+=("$samples"/*.scp) ;;
    bio_reader) seeds=(examples/acquisition/*.bio) ;;
    raw12_reader) seeds=(examples/acquisition/*.raw) ;;
    raw8_reader) seeds=(examples/acquisition/*8*.bin) ;;
    raw16_reader) seeds=(examples/acquisition/*16*.bin) ;;
  esac
  corpus=$build/corpus/$name
  seedDir=$build/seeds/$name
  rm -rf "$seedDir"
  mkdir -p "$corpus" "$seedDir"
  cp "${seeds[@]}" "$seedDir/"
  log=$build/fuzz_$name.log
  status=0
  start=$(date +%s%N)
  "$build/fuzz/fuzz_$name" -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix="$findings/$name-" "$@" "$corpus" "$seedDir" >"$log" 2>&1 || status=$?
  elapsed=$(awk -v a="$start" -v b="$(date +%s%N)" 'BEGIN { print (b - a) / 1e9 }')
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  if [ "$status" -ne 0 ] || [ -z "$runs" ]; then
    tail -40 "$log"
    echo "fuzz_$name: FAILED (exit $status), log in $log, inputs in $findings" >&2
    exit 1
  fi
  awk -v n="fuzz_$name" -v r="$runs" -v t="$elapsed" -v c="$(find "$corpus" -type f | wc -l)" \
    'BEGIN { printf "%s: %d executions in %.0f s, %.0f exec/s, corpus %d inputs\n", n, r, t, r / t, c }'
done
