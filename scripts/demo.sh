#!/usr/bin/env bash
# Builds scpecg and runs it on the example records.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh demo
cmake -S . -B build/demo -G Ninja -DCMAKE_BUILD_TYPE=Release -DKTX_BUILD_TESTS=OFF >/dev/null
cmake --build build/demo -j2
scpecg=build/demo/tools/scpecg/scpecg

set -x
"$scpecg" check examples/*.scp || true   # damaged.scp is meant to fail the check
"$scpecg" sections examples/minimal.scp
"$scpecg" sections --json examples/damaged.scp

# The record on ECG paper, the limb leads derived from I and II.
"$scpecg" plot --derive examples/limb_leads.scp -o build/demo/limb_leads.png
set +x
echo "The ECG is in $(pwd)/build/demo/limb_leads.png"
