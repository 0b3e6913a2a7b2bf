#!/usr/bin/env bash
# Times `quillmoor auto` emptying a generated tree (listed in its own
# "qm.ini") against `rm -rf` of an identical copy, in the same run, each
# after the files were synced to disk. Usage: bench/clean-vs-rm.sh [WORKDIR]
set -euo pipefail
cd "$(dirname "$0")/.."
work=${1:-$(mktemp -d /var/tmp/quillmoor-bench-XXXXXX)}
build=build-bench
scripts/install-deps.sh bench
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUILLMOOR_BENCH=ON -DQUILLMOOR_TESTS=OFF >/dev/null
cmake --build "$build" --parallel 2 --target quillmoor quillmoor-bench-tree >/dev/null

mkdir -p "$work"
tree="$work/tree"
[[ -d "$tree" ]] || "$build/bin/quillmoor-bench-tree" "$tree" >/dev/null
files=$(find "$tree" -type f | wc -l)

prog="$work/program"
rm -rf "$prog" && mkdir -p "$prog"
cp "$build/bin/quillmoor" "$prog/"
export QUILLMOOR_REGISTRY="$work/registry.db" XDG_CONFIG_HOME="$work/config"
unset DISPLAY WAYLAND_DISPLAY

time_of() {  # prints the seconds a command took
  local start end
  start=$(date +%s.%N)
  "$@" >/dev/null 2>&1
  end=$(date +%s.%N)
  echo "$end - $start" | bc -l
}

runs=${RUNS:-3}
for i in $(seq "$runs"); do
  rm -rf "$work/a" "$work/b"
  cp -a "$tree" "$work/a"
  cp -a "$tree" "$work/b"
  printf '%s\r\n' "$work/b" > "$prog/qm.ini"
  sync
  rm_s=$(time_of rm -rf "$work/a")
  sync
  qm_s=$(time_of "$prog/quillmoor" auto)
  left=$(find "$work/b" -type f | wc -l)
  printf 'run %d: files=%d rm_rf=%.3fs quillmoor_auto=%.3fs ratio=%.2f left=%d\n' \
    "$i" "$files" "$rm_s" "$qm_s" "$(echo "$qm_s / $rm_s" | bc -l)" "$left"
done
