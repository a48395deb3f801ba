#!/usr/bin/env bash
# Installs what is missing, builds Kelvane and starts it.
set -euo pipefail
cd "$(dirname "$0")"

scripts/install-deps.sh

build=build
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
cmake --build "$build" -j "$(nproc)"

exec "$build/bin/kelvane" "$@"
