#!/usr/bin/env bash
# Builds scpecg and runs the library's whole road on the shipped example acquisitions:
# create SCP-ECG files from device data, derive the limb leads, edit a field, check,
# show them, analyse the 12-lead record and plot it with its measurements; then a real
# 12-lead ECG of the shared LUDB records (beside the checkout) imported, analysed, plotted
# and exported as WFDB and EDF+.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh demo
cmake -S . -B build/demo -G Ninja -DCMAKE_BUILD_TYPE=Release -DKTX_BUILD_TESTS=OFF >/dev/null
cmake --build build/demo -j2
scpecg=build/demo/tools/scpecg/scpecg
acq=examples/acquisition
out=build/demo/out
rm -rf "$out" && mkdir -p "$out"

step() { echo; echo "== $* =="; }

step "What the device recorded: an 8-lead raw 12-lead acquisition (I, II, V1-V6, 10 s)"
"$scpecg" acquisition --format raw12 --leads 8 --rate 500 --resolution 5000 "$acq/synthetic_8lead.raw"

step "Create an SCP-ECG file from it, with the patient's data"
"$scpecg" create --from raw12 "$acq/synthetic_8lead.raw" -o "$out/resting.scp" --leads 8 \
  --rate 500 --resolution 5000 --patient-id 4711 --last-name Example --first-name Erika \
  --birth 1961-04-23 --gender female --height 1680 --weight 64000

step "Derive III, aVR, aVL and aVF from I and II and write them into the file"
"$scpecg" derive "$out/resting.scp"

step "Edit single header fields; every other section keeps its bytes"
"$scpecg" edit "$out/resting.scp" --comment "Demo recording, synthetic ECG" \
  --location "Ward 3" --power-filter 50

step "Check its CRCs and list its sections"
"$scpecg" check "$out/resting.scp"
"$scpecg" sections "$out/resting.scp"

step "Everything the reader loads from it"
"$scpecg" show "$out/resting.scp"

step "The other inputs: 16-bit and 8-bit single-lead streams, a Bio file with three events"
"$scpecg" create --from 16bit "$acq/synthetic_16bit.bin" -o "$out/stream16.scp" --rate 500 \
  --resolution 1000
"$scpecg" create --from 8bit "$acq/synthetic_8bit.bin" -o "$out/stream8.scp" --unsigned
"$scpecg" create --from bio "$acq/synthetic_3events.bio" -o "$out/events.scp"
"$scpecg" lead-errors "$out/events.b.scp"
"$scpecg" check "$out"/*.scp

step "Analyse it: the engine (libKTXSYS32 beside the library) writes Sections 4, 5, 7, 9 and 10"
"$scpecg" analyze --text "$out/resting.scp"

step "What the analysis found: measurements, statement codes and the interpretation text"
"$scpecg" show "$out/resting.scp" | sed -n '/interpretation_text:/,/^  [a-z_]*:/p;/^analysis:/,/^lead_measurements:/p'

step "The analysed 12-lead record on ECG paper (25 mm/s, 10 mm/mV, 3x4 with a lead II rhythm strip)"
"$scpecg" plot "$out/resting.scp" -o "$out/resting.png"
"$scpecg" plot "$out/resting.scp" -o "$out/resting.svg"

# LUDB's stored values are microvolts (its header gains are not physical): --gain 1000.
ludb=${KTX_SHARED_DATA:-../shared/data}/ludb/135
step "A real 12-lead ECG: LUDB record 135 (PhysioNet) imported, analysed, plotted and exported"
if [ -f "$ludb.hea" ]; then
  "$scpecg" import --from wfdb "$ludb" --gain 1000 -o "$out/ludb135.scp"
  "$scpecg" analyze --text "$out/ludb135.scp"
  "$scpecg" show "$out/ludb135.scp" | sed -n '/interpretation_text:/,/^  overreading_physician:/p'
  "$scpecg" plot "$out/ludb135.scp" -o "$out/ludb135.png"
  "$scpecg" export --format wfdb "$out/ludb135.scp"
  "$scpecg" export --format edf "$out/ludb135.scp"
else
  echo "Skipped: $ludb.hea is absent (the shared data lies beside the checkout, ../shared/data;"
  echo "KTX_SHARED_DATA=PATH names another place)."
fi

echo
echo "The ECG, with heart rate, intervals, axes and statements on its header, is in"
echo "$(pwd)/$out/resting.png (and resting.svg beside it)."
if [ -f "$out/ludb135.png" ]; then
  echo "The LUDB record, analysed, is in $(pwd)/$out/ludb135.png; as WFDB (.hea, .dat, .atr)"
  echo "and EDF+ (.edf) beside it."
fi
