#!/usr/bin/env bash
# Byte-equality corpus: every kind of file scpecg writes, made the same way by two builds,
# compared byte for byte. A restructuring keeps the written files as they were:
#
#   bash scripts/corpus.sh make BUILD_DIR OUT_DIR    # e.g. before: build/before, build/corpus/before
#   bash scripts/corpus.sh compare DIR_A DIR_B       # exit 0 only when both hold the same bytes
#
# The clock is fixed (an LD_PRELOAD shim answers one CLOCK_REALTIME, TZ=UTC) and so are the
# inputs' file times, so the dates written are the same in both runs.
set -euo pipefail
cd "$(dirname "$0")/.."

fixed_clock() {  # $1: folder for the shim; prints its path
  local src="$1/fixed_clock.c" lib="$1/fixed_clock.so"
  cat >"$src" <<'EOF'
#define _GNU_SOURCE
#include <dlfcn.h>
#include <time.h>
/* 2026-01-02 03:04:05.678 UTC for the wall clock; the other clocks run. */
int clock_gettime(clockid_t id, struct timespec* ts) {
  if (id == CLOCK_REALTIME) {
    ts->tv_sec = 1767323045;
    ts->tv_nsec = 678000000;
    return 0;
  }
  int (*next)(clockid_t, struct timespec*) =
      (int (*)(clockid_t, struct timespec*))dlsym(RTLD_NEXT, "clock_gettime");
  return next(id, ts);
}
time_t time(time_t* t) {
  if (t) *t = 1767323045;
  return 1767323045;
}
EOF
  cc -shared -fPIC -O2 -o "$lib" "$src" -ldl
  echo "$lib"
}

make_corpus() {
  local build="$1" out="$2"
  local scpecg="$build/tools/scpecg/scpecg"
  [ -x "$scpecg" ] || { echo "no scpecg in $build" >&2; exit 2; }
  rm -rf "$out" && mkdir -p "$out/home"
  out=$(cd "$out" && pwd)
  # The acquisition readers date a recording by its file: the inputs get one fixed time.
  local acq="$out/home/acquisition"
  cp -r examples/acquisition "$acq"
  touch -d '2026-01-02 03:04:05 UTC' "$acq"/*
  local shim
  shim=$(fixed_clock "$out/home")
  run() { TZ=UTC HOME="$out/home" LD_PRELOAD="$shim" "$scpecg" "$@" >>"$out/log.txt" 2>&1 ||
    echo "exit $? from: $*" >>"$out/log.txt"; }
  local pat=(--patient-id 4711 --last-name Example --first-name Erika --birth 1961-04-23
    --gender female --height 1680 --weight 64000)

  # Creation from every acquisition input (one file per Bio event), and the empty record.
  run create --empty "$out/empty.scp"
  run create --from raw12 "$acq/synthetic_8lead.raw" -o "$out/raw12_8.scp" --leads 8 --rate 500 \
    --resolution 5000 "${pat[@]}"
  run create --from raw12 "$acq/raw12_1lead.raw" -o "$out/raw12_1.scp" --leads 1 --rate 500 \
    --resolution 5000
  run create --from raw12 "$acq/raw12_8lead.raw" -o "$out/raw12_8b.scp" --leads 12 --rate 500 \
    --resolution 5000 --start 0 --seconds 1
  run create --from 16bit "$acq/synthetic_16bit.bin" -o "$out/s16.scp" --rate 500 --resolution 1000
  run create --from 16bit "$acq/stream16.bin" -o "$out/s16b.scp"
  run create --from 8bit "$acq/synthetic_8bit.bin" -o "$out/s8.scp" --unsigned
  run create --from 8bit "$acq/stream8.bin" -o "$out/s8b.scp"
  run create --from bio "$acq/synthetic_3events.bio" -o "$out/events.scp" "${pat[@]}"
  run create --from bio "$acq/two_events.bio" -o "$out/two.scp"
  run create --from bio "$acq/synthetic_3events.bio" -o "$out/inplace_events.scp" --in-place

  # Derive, on the copy and in place.
  cp "$out/raw12_8.scp" "$out/derived.scp" && run derive "$out/derived.scp"
  cp "$out/raw12_8.scp" "$out/derived_inplace.scp" && run derive --in-place "$out/derived_inplace.scp"

  # Every single-field edit, one file each (and one in place).
  local -a edits=(
    "comment:--comment|Demo recording" "interp:--interpretation|Sinus rhythm"
    "confirmed:--confirmed|yes" "overread:--overreading-physician|Dr. Ü"
    "interpphys:--interpretation-physician|Dr. B" "recphys:--recording-physician|Dr. C"
    "location:--location|Ward 3" "recid:--recording-id|R-17"
    "received:--received|2020-02-29 12:34:56" "muscle:--muscle-filter|on"
    "baseline:--baseline-filter|off" "power:--power-filter|60" "recapp:--recording-app|App"
    "recver:--recording-ver|1.2" "interpapp:--interpretation-app|Interp"
    "interpver:--interpretation-ver|3.4" "pid:--patient-id|P-1" "last:--last-name|Doe"
    "first:--first-name|Jane" "birth:--birth|1950-01-31" "gender:--gender|male"
    "height:--height|1750" "weight:--weight|80000" "clear:--comment|")
  local e name opt val
  for e in "${edits[@]}"; do
    name=${e%%:*}; opt=${e#*:}; val=${opt#*|}; opt=${opt%%|*}
    cp "$out/derived.scp" "$out/edit_$name.scp" && run edit "$out/edit_$name.scp" "$opt" "$val"
  done
  cp "$out/derived.scp" "$out/edit_inplace.scp" &&
    run edit --in-place "$out/edit_inplace.scp" --comment "in place" --power-filter 50

  # Lead errors from the lead-off markers of the second Bio event.
  cp "$out/events.b.scp" "$out/lead_errors.scp" && run lead-errors "$out/lead_errors.scp"
  cp "$out/events.b.scp" "$out/lead_errors_inplace.scp" &&
    run lead-errors --in-place "$out/lead_errors_inplace.scp"

  # Analysis (long, short, text, languages), then its removal.
  cp "$out/derived.scp" "$out/analyzed.scp" && run analyze --text "$out/analyzed.scp"
  cp "$out/derived.scp" "$out/analyzed_short.scp" &&
    run analyze --short --patient-warning --short-prefix --text --language fr "$out/analyzed_short.scp"
  cp "$out/derived.scp" "$out/analyzed_inplace.scp" &&
    run analyze --in-place --text --language de "$out/analyzed_inplace.scp"
  cp "$out/events.b.scp" "$out/analyzed_events.scp" && run analyze "$out/analyzed_events.scp"
  cp "$out/analyzed.scp" "$out/removed.scp" && run remove-analysis "$out/removed.scp"
  cp "$out/analyzed.scp" "$out/removed_inplace.scp" &&
    run remove-analysis --in-place "$out/removed_inplace.scp"

  # Repair of a damaged record, on the copy and in place.
  cp examples/damaged.scp "$out/repaired.scp" && run repair-crc "$out/repaired.scp"
  cp examples/damaged.scp "$out/repaired_inplace.scp" && run repair-crc --in-place "$out/repaired_inplace.scp"

  # Conversion of the compressed shared samples.
  local samples=${KTX_SAMPLES_DIR:-../shared/samples}/scp f
  for f in "$samples"/SCP-Tools__ECG_20070321_110542_191010101010.scp "$samples"/ECGToolkit__Example.scp; do
    [ -f "$f" ] || { echo "skipped: $f absent" >>"$out/log.txt"; continue; }
    run convert "$f" -o "$out/convert_$(basename "$f")"
  done

  # Import from a CSV file, and exports of the analysed record.
  printf 'time,I,II,V1\n0,100,-200,2032\n0.002,150,-250.5,30\n0.004,nan,12,-7\n' >"$out/in.csv"
  run import --from csv "$out/in.csv" --rate 500 -o "$out/import_csv.scp" --last-name Doe
  run import --from csv "$out/in.csv" --rate 500 --units mV -o "$out/import_csv_mv.scp"
  local ludb=${KTX_SHARED_DATA:-../shared/data}/ludb/135
  [ -f "$ludb.hea" ] && run import --from wfdb "$ludb" --gain 1000 -o "$out/import_ludb.scp"
  run export --format csv "$out/analyzed.scp" -o "$out/export.csv"
  run export --format wfdb "$out/analyzed.scp" -o "$out/export_wfdb"
  run export --format edf "$out/analyzed.scp" -o "$out/export.edf"
  rm -f "$out/home/fixed_clock.so"
  sed -i "s|$out|OUT|g" "$out/log.txt"
  rm -rf "$acq"
  echo "corpus: $(find "$out" -type f ! -path '*/home/*' | wc -l) files in $out"
}

compare_corpus() {
  local a="$1" b="$2" bad=0 f
  (cd "$a" && find . -type f ! -path './home/*' | sort) >/tmp/corpus_a.$$
  (cd "$b" && find . -type f ! -path './home/*' | sort) >/tmp/corpus_b.$$
  if ! diff -u /tmp/corpus_a.$$ /tmp/corpus_b.$$; then echo "corpus: file lists differ"; bad=1; fi
  while read -r f; do
    [ -f "$b/$f" ] || continue
    cmp -s "$a/$f" "$b/$f" || { echo "corpus: differs: $f"; bad=1; }
  done </tmp/corpus_a.$$
  echo "corpus: $(wc -l </tmp/corpus_a.$$) files compared, $([ $bad = 0 ] && echo identical || echo DIFFERENT)"
  rm -f /tmp/corpus_a.$$ /tmp/corpus_b.$$
  return $bad
}

case "${1:-}" in
  make) make_corpus "$2" "$3" ;;
  compare) compare_corpus "$2" "$3" ;;
  *) sed -n '2,9p' "$0"; exit 2 ;;
esac
