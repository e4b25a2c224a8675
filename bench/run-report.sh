#!/usr/bin/env bash
# The largest report of a demo database (default 100,000 expenses): the detail report of the type
# and year with the most expenses, written to PDF by quillmar-report, against plain_pdf, a bare
# QPdfWriter program drawing as many lines and pages in the same font. Best of three each.
# Usage: bench/run-report.sh [EXPENSES]
set -euo pipefail
cd "$(dirname "$0")/.."
bench/build
n=${1:-100000}
data=build-bench/data
mkdir -p "$data"
db="$data/demo-$n.mdb"
[ -f "$db" ] || build-bench/tools/quillmar-db/quillmar-db demo "$db" --expenses "$n" >/dev/null
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
read -r type year rows < <(sqlite3 -separator ' ' "$db" "SELECT e.ExpType, e.ExpYear, count(*) FROM Expenses e
  JOIN lkpExpTypes t ON t.ExpType = e.ExpType WHERE t.ExpComp <> 2 AND e.ExpType <> 1
  GROUP BY 1, 2 ORDER BY 3 DESC LIMIT 1")
seconds() { local s e; s=$(date +%s%N); "$@" >/dev/null 2>&1; e=$(date +%s%N); echo "$s $e" | awk '{printf "%.3f", ($2 - $1) / 1e9}'; }
best() { local b=999 t; for _ in 1 2 3; do t=$(seconds "$@"); b=$(echo "$t $b" | awk '{print ($1 < $2) ? $1 : $2}'); done; echo "$b"; }
report=$(best build-bench/tools/quillmar-report/quillmar-report "$db" --type "$type" --year "$year" --pdf "$out/report.pdf" --force)
pages=$(build-bench/tools/quillmar-report/quillmar-report "$db" --type "$type" --year "$year" --pdf "$out/report.pdf" --force 2>/dev/null | awk '{print $2}')
plain=$(best build-bench/bench/plain_pdf "$out/plain.pdf" "$pages" "$rows")
# Every open of a database runs SQLite's integrity check first; this is its cost alone.
check=$(best sqlite3 "$db" "PRAGMA integrity_check(1)")
printf "type %s, year %s: %s expenses on %s pages\n" "$type" "$year" "$rows" "$pages"
printf "quillmar-report: %s s (%s pages/s)   plain QPdfWriter: %s s   ratio: %s\n" "$report" \
  "$(echo "$pages $report" | awk '{printf "%.0f", $1 / $2}')" "$plain" "$(echo "$report $plain" | awk '{printf "%.2fx", $1 / $2}')"
printf "of which the integrity check of the database on opening (sqlite3 shell alone): %s s\n" "$check"
