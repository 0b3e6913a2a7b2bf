#!/usr/bin/env bash
# Configures build/ and builds the given targets (all when none).
# QUILLMOOR_CMAKE_FLAGS adds cache settings (for example the sanitizers).
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck disable=SC2086
if [[ ! -f build/CMakeCache.txt ]]; then
  cmake -S . -B build -G Ninja ${QUILLMOOR_CMAKE_FLAGS:-} >/dev/null
elif [[ -n "${QUILLMOOR_CMAKE_FLAGS:-}" ]]; then
  cmake -S . -B build ${QUILLMOOR_CMAKE_FLAGS} >/dev/null
fi
if (($#)); then
  cmake --build build --parallel 2 --target "$@"
else
  cmake --build build --parallel 2
fi
