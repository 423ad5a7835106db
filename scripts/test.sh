#!/usr/bin/env bash
# Builds and runs every test: format and lint checks, native (g++), clang with
# AddressSanitizer and UBSan, a smoke run of the fuzz targets, the Windows build under
# Wine, and the i686 compile.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh test
jobs=2

step() { echo; echo "=== $* ==="; }

step "format"
bash scripts/check-format.sh

step "native g++ (release, with benchmarks and the Python package)"
cmake -S . -B build/gcc -G Ninja -DCMAKE_BUILD_TYPE=Release -DKTX_BUILD_BENCH=ON \
  -DKTX_BUILD_PYTHON=ON >/dev/null
cmake --build build/gcc -j$jobs
ctest --test-dir build/gcc --output-on-failure -LE host

step "Python package ktxscp32 (pytest, on the native build; a 2-worker Dask LocalCluster)"
KTX_BUILD_DIR=build/gcc /usr/bin/python3 -m pytest -q -p no:cacheprovider python/tests

step "fault injection: full disk, size limit, read-only, EPERM, kill -9, readers and a writer"
bash scripts/faults.sh build/gcc

step "plain CMake build (default generator, Unix Makefiles): the core, scpecg, the type library step"
# As a packager configures it; Make, unlike Ninja, creates no output folders by itself.
cmake -S . -B build/make -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/make -j$jobs --target ktxscp32 ktxscp32_static scpecg test_tlbhelp
echo "plain build ok"

step "host builds (add_subdirectory, and find_package after install)"
ctest --test-dir build/gcc --output-on-failure -L host

step "clang-tidy"
bash scripts/check-tidy.sh build/gcc

step "clang with AddressSanitizer and UBSan"
CC=clang CXX=clang++ cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DKTX_SANITIZE=ON >/dev/null
cmake --build build/asan -j$jobs
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build/asan --output-on-failure

step "fuzz targets (clang, libFuzzer: a 2 s smoke run each; scripts/fuzz.sh runs them longer)"
bash scripts/fuzz.sh all 2

step "g++ with AddressSanitizer and UBSan (the core, compile only)"
cmake -S . -B build/gcc-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKTX_SANITIZE=ON \
  -DKTX_BUILD_TESTS=OFF -DKTX_BUILD_TOOLS=OFF >/dev/null
cmake --build build/gcc-asan -j$jobs --target ktxscp32_static
echo "g++ sanitizer core compiled"

step "Windows i686 (the core and KTXSCP32.dll, compile and link only)"
i686_cache=()
command -v ccache >/dev/null && i686_cache=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache
  -DCMAKE_C_COMPILER_LAUNCHER=ccache)
cmake -S . -B build/win32 -G Ninja -DCMAKE_BUILD_TYPE=Release -DKTX_BUILD_TESTS=OFF \
  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake "${i686_cache[@]}" >/dev/null
cmake --build build/win32 -j$jobs --target ktxscp32_static KTXSCP32
echo "i686 core and KTXSCP32.dll built"

step "Windows x86_64 (mingw-w64) under Wine"
cmake -S . -B build/win64 -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake >/dev/null
cmake --build build/win64 -j$jobs
export WINEDEBUG=-all WINEPREFIX="$PWD/build/wineprefix"
wineboot -i >/dev/null 2>&1 || true
wineserver -p30 &
trap 'wineserver -k 2>/dev/null || true' EXIT
# Wine's services start with the first program and live on: started here, not inside a
# test, whose output pipe ctest would then wait on until they exit.
wine cmd /c exit >/dev/null 2>&1 || true
ctest --test-dir build/win64 --output-on-failure
