#!/usr/bin/env bash
# Recordset open + full typed scan of Expenses in the tree's sort order, against the sqlite3
# shell running the same ordered SELECT to /dev/null, on demo databases of 100,000 and
# 1,000,000 expenses. Usage: bench/run-recordset-scan.sh [SIZES...]   (default: 100000 1000000)
set -euo pipefail
cd "$(dirname "$0")/.."
bench/build
data=build-bench/data
mkdir -p "$data"
query="SELECT rowid, * FROM Expenses ORDER BY ExpType ASC, ProjectID ASC, ExpDate ASC, ExpCat ASC;"
sizes=("$@")
[ ${#sizes[@]} -eq 0 ] && sizes=(100000 1000000)

best_shell() {  # best of three wall-clock times, in seconds
  local best=999999 t
  for _ in 1 2 3; do
    t=$( { /usr/bin/time -f "%e" sqlite3 "$1" "$query" >/dev/null; } 2>&1 )
    best=$(echo "$t $best" | awk '{print ($1 < $2) ? $1 : $2}')
  done
  echo "$best"
}

printf "%-9s %10s %10s %10s %8s %14s %12s\n" rows shell_s open_s open+scan ratio snapshot_B/row peak_RSS_MiB
for n in "${sizes[@]}"; do
  db="$data/demo-$n.mdb"
  [ -f "$db" ] || build-bench/tools/quillmar-db/quillmar-db demo "$db" --expenses "$n" >/dev/null
  shell=$(best_shell "$db")
  out=$(build-bench/bench/recordset_scan "$db" 3)
  get() { echo "$out" | awk -v k="$1" '$1 == k {print $2}'; }
  total=$(get total_s)
  printf "%-9s %10s %10s %10s %8s %14s %12s\n" "$n" "$shell" "$(get open_s)" "$total" \
    "$(echo "$total $shell" | awk '{printf "%.2fx", $1 / $2}')" "$(get snapshot_bytes_per_row)" "$(get peak_rss_mib)"
done
