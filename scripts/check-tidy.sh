#!/usr/bin/env bash
# Runs the project's clang-tidy checks over the core's sources (and the Python package's
# extension, which the build named must have: -DKTX_BUILD_PYTHON=ON).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/gcc}
git ls-files -z -- ':(glob)platform/*.cpp' ':(glob)platform/posix/*.cpp' ':(glob)record/*.cpp' \
    ':(glob)format/*.cpp' ':(glob)reader/*.cpp' ':(glob)writer/*.cpp' ':(glob)acquisition/*.cpp' ':(glob)analysis/*.cpp' ':(glob)interchange/*.cpp' \
    ':(glob)tools/**/*.cpp' ':(glob)python/src/*.cpp' |
  xargs -0 -n 8 -P 2 clang-tidy -p "$build" --quiet --warnings-as-errors='*' 2>/dev/null
echo "clang-tidy ok"
