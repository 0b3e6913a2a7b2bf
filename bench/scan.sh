#!/bin/sh
# Times the scan engine against find and fd over the benchmark tree, in one
# run with a warm cache, and the results list's own costs.
#
#   bench/scan.sh [BUILD_DIR] [TREE_ROOT]
#
# BUILD_DIR is a Release build configured with -DQUILLMOOR_BENCH=ON
# (default build-bench); the tree is generated once at TREE_ROOT (default
# /var/tmp/quillmoor-bench-tree) and reused by later runs.
set -eu
build=${1:-build-bench}
root=${2:-/var/tmp/quillmoor-bench-tree}
bin=$build/bin
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if [ ! -d "$root" ]; then
  echo "generating $root"
  "$bin/quillmoor-bench-tree" "$root"
fi

masks='*.BAK *.TMP *.OLD *.~* ~*.* *.$$$ *.--- *.GID *.FTG *.FTS *.FND *.CHK *.DMP *.NCH *.DA0 *.$DB *.DB$ FILE_ID.DIZ ANTI-VIR.DAT'

# find: one -iname per mask.
set -f
find_args=""
regex=""
for m in $masks; do
  find_args="$find_args -o -iname $m"
  # The same mask as a regular expression over the name.
  r=$(printf '%s' "$m" | sed -e 's/[.$^+(){}|\\[]/\\&/g' -e 's/\*/.*/g' -e 's/?/./g')
  regex="$regex|$r"
done
find_args=${find_args# -o }
regex="^(${regex#|})\$"

now() { date +%s.%N; }
elapsed() { echo "$2 - $1" | bc; }

run_find() { find "$root" -xdev -type f \( $find_args \) | wc -l; }
run_fd() { fdfind -H -I -t f -i --one-file-system "$regex" "$root" | wc -l; }
run_scan() { "$bin/quillmoor-bench-scan" "$root" "$@" | tail -n 1; }

echo "warming the cache"
run_find >/dev/null; run_fd >/dev/null; run_scan >/dev/null

t0=$(now); scan_line=$(run_scan); t1=$(now)
find_rows=$(run_find); t2=$(now)
fd_rows=$(run_fd); t3=$(now)
set +f

scan_s=$(elapsed "$t0" "$t1"); find_s=$(elapsed "$t1" "$t2"); fd_s=$(elapsed "$t2" "$t3")
echo "scan:   $scan_line (wall ${scan_s}s)"
echo "find:   rows=$find_rows seconds=$find_s"
echo "fdfind: rows=$fd_rows seconds=$fd_s"
echo "ratios: scan/find=$(echo "scale=3; $scan_s / $find_s" | bc) scan/fd=$(echo "scale=3; $scan_s / $fd_s" | bc)"

echo '*.*' > "$work/all.masks"
all_line=$(run_scan "$work/all.masks")
files=$(find "$root" -xdev -mindepth 2 -type f | wc -l)
rows=$(echo "$all_line" | sed 's/.*rows=\([0-9]*\).*/\1/')
rss=$(echo "$all_line" | sed 's/.*peak_rss_kb=\([0-9]*\).*/\1/')
echo "every file (*.*): $all_line; files below the root's own=$files; peak bytes per row=$(echo "$rss * 1024 / $rows" | bc)"

"$bin/quillmoor-bench-rows" "$work/rows"
