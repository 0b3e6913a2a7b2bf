#!/usr/bin/env bash
# Renders the first three pages and the file-type input dialog to PNG files
# in build/screenshots/, on Qt's offscreen platform, with a settings store of
# its own so nothing of the user's is touched.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh quillmoor-screenshots
store=$(mktemp -d)
trap 'rm -rf "$store"' EXIT
ASAN_OPTIONS=detect_leaks=0 QT_QPA_PLATFORM=offscreen QUILLMOOR_REGISTRY="$store/registry.db" \
  XDG_CONFIG_HOME="$store/config" build/bin/quillmoor-screenshots "$PWD/build/screenshots"
