#!/usr/bin/env bash
# The Overview window on demo databases (default 100,000 expenses), offscreen: opening it and
# reading it again after a command, beside the sqlite3 shell running the same aggregate queries
# on the same file (a whole process, median of three).
# Usage: bench/run-overview.sh [SIZES...]
set -euo pipefail
cd "$(dirname "$0")/.."
bench/build
mkdir -p build-bench/data
sizes=("$@")
[ ${#sizes[@]} -eq 0 ] && sizes=(100000)
queries="SELECT ExpType AS K, ExpLabel AS N FROM lkpExpTypes;
SELECT COALESCE(ExpYear, -1) AS Y, ExpType AS T, SUM(Amount) AS S, COUNT(*) AS N FROM Expenses GROUP BY ExpYear, T;
SELECT ProjectID AS K, ProjectName AS N FROM Projects;
SELECT ProjectID AS P, ExpType AS T, SUM(CASE WHEN Status = 1 THEN Amount ELSE 0 END) AS I, SUM(CASE WHEN Status = 2 THEN Amount ELSE 0 END) AS U, MIN(ExpDate) AS D FROM Expenses WHERE TypeComp = 2 AND Reimburse <> 0 AND Status IN (1, 2) GROUP BY P, T;
SELECT COUNT(*) AS N FROM Expenses;"
for n in "${sizes[@]}"; do
  db="build-bench/data/demo-$n.mdb"
  [ -f "$db" ] || build-bench/tools/quillmar-db/quillmar-db demo "$db" --expenses "$n" >/dev/null
  echo "== $n expenses"
  build-bench/bench/overview_open "$db" 2>/dev/null
  runs=()
  for _ in 1 2 3; do
    s=$(date +%s%N)
    sqlite3 "$db" "$queries" >/dev/null
    e=$(date +%s%N)
    runs+=("$(echo "$s $e" | awk '{printf "%.3f", ($2 - $1) / 1e9}')")
  done
  echo "sqlite3_shell_s $(printf '%s\n' "${runs[@]}" | sort -n | sed -n 2p)"
done
