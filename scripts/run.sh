#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh run
cmake --preset dev -DDPARTITION_BUILD_TESTS=OFF -DDPARTITION_BUILD_BENCH=OFF >/dev/null
cmake --build --preset dev --target dpartition
exec build/dev/app/dpartition
