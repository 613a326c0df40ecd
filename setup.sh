#!/usr/bin/env bash
# Installs what is missing, builds, and then runs the program ("run"), every test ("test") or the benchmarks ("bench").
set -euo pipefail
cd "$(dirname "$0")"

# Real package names only: dpkg-query never finds a virtual one, so naming one would install on every run.
packages=(build-essential cmake ninja-build qt6-base-dev qt6-qpa-plugins fonts-dejavu-core qt6-serialport-dev libgtest-dev
          libgmock-dev libbenchmark-dev srecord python3 libxlsxwriter-dev python3-openpyxl pkg-config)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi

build=${OSTREL_BUILD:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --parallel "$(nproc)"

case "${1:-run}" in
  run) exec "$build/app/ostrel" ;;
  test) cd "$build" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$(nproc)" --timeout 600 ;;
  bench) for b in "$build"/bench/*_bench; do "$b"; done ;;
  *) echo "usage: $0 [run|test|bench]" >&2; exit 2 ;;
esac
