#!/usr/bin/env bash
# File > Export... of demo databases of 100,000 and 1,000,000 expenses from an open tree (the
# record sets already in memory, as in the program), against the sqlite3 shell writing the same
# rows in the same order with the same lookups in `.mode csv` to a file. Best of three each.
# Usage: bench/run-export.sh [SIZES...]   (default: 100000 1000000)
set -euo pipefail
cd "$(dirname "$0")/.."
bench/build
data=build-bench/data
mkdir -p "$data"
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
sizes=("$@")
[ ${#sizes[@]} -eq 0 ] && sizes=(100000 1000000)
query="SELECT strftime('%Y/%m/%d', e.ExpDate), t.ExpLabel, e.ExpCat, e.Item, printf('%.2f', e.Amount / 10000.0),
  CASE WHEN e.Reimburse THEN 'R' ELSE '' END, CASE WHEN e.ExpType > 9 THEN p.ProjectName END,
  CASE WHEN e.Reimburse THEN s.StatusCode END, e.Vendor, e.AcctCode, e.ChkNbr, e.Detail
FROM Expenses e LEFT JOIN lkpExpTypes t ON t.ExpType = e.ExpType
  LEFT JOIN Projects p ON p.ProjectID = e.ProjectID LEFT JOIN lkpExpBillStatus s ON s.Status = e.Status
ORDER BY e.ExpType, e.ProjectID, e.ExpDate, e.ExpCat;"

best_shell() {  # best of three wall-clock times, in seconds
  local best=999999 t
  for _ in 1 2 3; do
    t=$( { /usr/bin/time -f "%e" sqlite3 -csv "$1" ".once $out/shell.csv" "$query"; } 2>&1 )
    best=$(echo "$t $best" | awk '{print ($1 < $2) ? $1 : $2}')
  done
  echo "$best"
}

printf "%-9s %10s %10s %8s\n" rows shell_s export_s ratio
for n in "${sizes[@]}"; do
  db="$data/demo-$n.mdb"
  [ -f "$db" ] || build-bench/tools/quillmar-db/quillmar-db demo "$db" --expenses "$n" >/dev/null
  shell=$(best_shell "$db")
  export=$(build-bench/bench/csv_export "$db" "$out/export.csv" 3 | awk '$1 == "write_s" {print $2}')
  [ "$(wc -l < "$out/export.csv")" = "$(wc -l < "$out/shell.csv")" ] || { echo "line counts differ" >&2; exit 1; }
  printf "%-9s %10s %10s %8s\n" "$n" "$shell" "$export" "$(echo "$export $shell" | awk '{printf "%.2fx", $1 / $2}')"
done
