#!/usr/bin/env bash
# Installs the Debian packages the project needs that are missing.
#   scripts/install-deps.sh demo   what building scpecg needs
#   scripts/install-deps.sh test   everything: tests, sanitizers, Windows cross build, Wine, BioSig
set -euo pipefail
profile=${1:-test}

packages=(cmake ninja-build g++ uuid-dev libcli11-dev nlohmann-json3-dev pkg-config libcairo2-dev)
if [ "$profile" = test ]; then
  packages+=(clang clang-format clang-tidy libclang-rt-14-dev libgtest-dev googletest
             libbenchmark-dev g++-mingw-w64-x86-64 g++-mingw-w64-i686 wine wine64 wine64-tools
             biosig-tools libxml2-dev strace e2fsprogs python3)
fi

missing=()
for package in "${packages[@]}"; do
  dpkg -s "$package" >/dev/null 2>&1 || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
