#!/usr/bin/env bash
# Installs, on a Debian 12 machine, only the packages the build, the tests and
# the program need that are not there yet. Sourced by test.sh and run.sh.
# clang and its runtimes (libFuzzer among them, in libclang-rt-14-dev on Debian 12) build
# the fuzz targets.
rn_packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libgtest-dev libgmock-dev
  clang libclang-rt-14-dev
  xvfb xauth imagemagick fonts-ipafont-gothic fonts-dejavu-core
)

rn_install_missing() {
  local missing=() p
  for p in "${rn_packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
