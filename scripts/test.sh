#!/usr/bin/env bash
# Installs what is missing, builds everything with the sanitizers and runs
# every test suite.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
QUILLMOOR_CMAKE_FLAGS="-DQUILLMOOR_SANITIZE=ON -DQUILLMOOR_TESTS=ON" scripts/build.sh
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure --parallel 2 --timeout 300
