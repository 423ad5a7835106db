#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, ASan + UBSan) in build/fuzz and runs one of them
# for SECONDS, seeded from the example and test records and the shared samples.
#   scripts/fuzz.sh TARGET SECONDS [libFuzzer options...]
#   TARGET: scp_reader waveform_decoder bio_reader raw12_reader raw8_reader raw16_reader
# The corpus grows in build/fuzz/corpus/TARGET from run to run; findings land in
# build/fuzz/findings/. KTX_SAMPLES_DIR names the shared samples when they are not in
# ../shared/samples. Prints the executions and executions per second at the end.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ $# -lt 2 ]; then
  sed -n '2,9p' "$0" | sed 's/^# \{0,1\}//'
  exit 2
fi
target=${1#fuzz_}
seconds=$2
shift 2

seeds=()
case "$target" in
  scp_reader | waveform_decoder)
    seeds=(examples/*.scp tests/automation/objects_show/*.scp)
    for f in "${KTX_SAMPLES_DIR:-../shared/samples}"/scp/*.scp; do [ -f "$f" ] && seeds+=("$f"); done ;;
  bio_reader) seeds=(examples/acquisition/*.bio) ;;
  raw12_reader) seeds=(examples/acquisition/*.raw) ;;
  raw8_reader) seeds=(examples/acquisition/*8*.bin) ;;
  raw16_reader) seeds=(examples/acquisition/*16*.bin) ;;
  *) echo "fuzz.sh: no target '$target'" >&2; exit 2 ;;
esac

build=build/fuzz
if [ ! -f "$build/CMakeCache.txt" ]; then
  launcher=()
  command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache
    -DCMAKE_C_COMPILER_LAUNCHER=ccache)
  CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DKTX_BUILD_FUZZ=ON -DKTX_BUILD_TESTS=OFF -DKTX_BUILD_TOOLS=OFF "${launcher[@]}" >/dev/null
fi
cmake --build "$build" -j2 --target "fuzz_$target" >/dev/null

corpus=$build/corpus/$target
findings=$build/findings
seedDir=$build/seeds/$target
rm -rf "$seedDir"
mkdir -p "$corpus" "$findings" "$seedDir"
cp "${seeds[@]}" "$seedDir/"
log=$build/fuzz_$target.log
status=0
"$build/fuzz/fuzz_$target" -max_total_time="$seconds" -print_final_stats=1 \
  -artifact_prefix="$findings/${target}-" "$@" "$corpus" "$seedDir" >"$log" 2>&1 || status=$?
runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
if [ "$status" -ne 0 ] || [ -z "$runs" ]; then
  tail -40 "$log"
  echo "fuzz_$target: FAILED (exit $status), log in $log, inputs in $findings" >&2
  exit 1
fi
echo "fuzz_$target: $runs executions in ${seconds} s, $rate exec/s, corpus $(ls "$corpus" | wc -l) inputs"
