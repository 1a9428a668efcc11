#!/usr/bin/env bash
# Installs the Debian 12 packages Halvex needs. Idempotent: quiet when all are present.
set -euo pipefail
packages=(
  build-essential cmake ninja-build pkg-config git clang-format
  nlohmann-json3-dev libglm-dev libglfw3-dev libepoxy-dev libstb-dev
  libopenal-dev libsndfile1-dev googletest libgtest-dev libgmock-dev libbenchmark-dev
  fonts-dejavu-core xvfb xdotool imagemagick xauth libx11-dev libgl1-mesa-dri
  # The loaders' fuzz targets: clang 14 with libFuzzer (its runtime is in libclang-rt-14-dev).
  clang-14 libclang-rt-14-dev python3
  # The Debian package: building it (dpkg-shlibdeps, file) and checking it.
  dpkg-dev file lintian desktop-file-utils appstream
)
# The Windows build (tools/windows/check.sh): the MinGW-w64 cross compiler, meson for libepoxy,
# and Wine to play its replays. Without their recommends, which would bring a desktop's worth.
bare_packages=(g++-mingw-w64-x86-64-posix wine64 meson)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
missing_bare=()
for p in "${bare_packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing_bare+=("$p")
done
if [ ${#missing[@]} -gt 0 ] || [ ${#missing_bare[@]} -gt 0 ]; then
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  echo "Installing: ${missing[*]} ${missing_bare[*]}"
  $sudo_cmd apt-get update -qq
  if [ ${#missing[@]} -gt 0 ]; then
    DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${missing[@]}" >/dev/null
  fi
  if [ ${#missing_bare[@]} -gt 0 ]; then
    DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends \
      "${missing_bare[@]}" >/dev/null
  fi
fi
