#!/usr/bin/env bash
# Installs the Debian packages the build and tests need, when they are missing and we are root.
# Nothing else is downloaded.
set -euo pipefail
need=()
have() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }
for p in g++ cmake make libgtest-dev libgmock-dev libbenchmark-dev qt6-base-dev gemmi-dev \
         nlohmann-json3-dev chromium qt6-charts-dev libqt6opengl6-dev clang libclang-rt-14-dev \
         dpkg-dev file; do
  have "$p" || need+=("$p")
done
if [ ${#need[@]} -eq 0 ]; then exit 0; fi
if [ "$(id -u)" -ne 0 ]; then
  echo "vorlane: missing packages: ${need[*]} (run as root, or install them with apt-get)" >&2
  exit 0
fi
echo "vorlane: installing ${need[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${need[@]}"
