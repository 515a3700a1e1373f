#!/usr/bin/env bash
# Installs every Debian package the project builds, tests, benchmarks or fuzzes with.
# Idempotent and quiet: apt-get update runs only when something is missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build ccache pkg-config git
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  libfmt-dev libplist-dev libsqlite3-dev libcurl4-openssl-dev libcpp-httplib-dev
  libcairo2-dev libpango1.0-dev fonts-liberation libstb-dev libsndfile1-dev libsdl2-dev
  libavformat-dev libavcodec-dev libswscale-dev libavutil-dev ffmpeg
  rapidjson-dev nlohmann-json3-dev
  libwebkit2gtk-4.1-dev xvfb xauth
  clang-16 libclang-rt-16-dev clang-format
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
echo "installing: ${missing[*]}"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
