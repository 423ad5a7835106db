#!/usr/bin/env bash
# Installs the Debian packages the project needs that are missing.
#   scripts/install-deps.sh demo   what building scpecg needs
#   scripts/install-deps.sh python what building the Python package ktxscp32 needs
#   scripts/install-deps.sh test   everything: tests, sanitizers, Windows cross build, Wine, BioSig
set -euo pipefail
profile=${1:-test}

packages=(cmake ninja-build g++ uuid-dev libcli11-dev nlohmann-json3-dev pkg-config libcairo2-dev
          libedf-dev)
python_packages=(python3 python3-dev pybind11-dev python3-numpy python3-pandas python3-dask
                 python3-distributed)
if [ "$profile" = python ] || [ "$profile" = test ]; then
  packages+=("${python_packages[@]}")
fi
if [ "$profile" = test ]; then
  packages+=(clang clang-format clang-tidy libclang-rt-14-dev libgtest-dev googletest
             libbenchmark-dev g++-mingw-w64-x86-64 g++-mingw-w64-i686 wine wine64 wine64-tools
             biosig-tools libbiosig-dev libxml2-dev locales strace e2fsprogs python3-pytest)
fi

sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo

missing=()
for package in "${packages[@]}"; do
  dpkg -s "$package" >/dev/null 2>&1 || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The automation tests run scripts as German, French and British callers: Wine takes the
# caller's locale from LANG, which needs the locale compiled.
if [ "$profile" = test ]; then
  for name in de_DE fr_FR en_GB; do
    locale -a 2>/dev/null | grep -qix "$name.utf-\?8" ||
      $sudo localedef -i "$name" -f UTF-8 "$name.UTF-8"
  done
fi
