#!/usr/bin/env bash
# Importing Quillmar's own CSV: the export of a demo database of N expenses (default 100,000)
# imported into a copy of that database (so N expenses are already there; duplicates included)
# by `quillmar-db import`, against the sqlite3 shell's .import of the same file into a bare table
# plus an INSERT of the same rows into Expenses (lookup texts joined back to their codes, the year
# and the project column filled as the import fills them; the script checks the rows match). Both as whole processes from a fresh copy of the
# database, paired by farm-bench (median of five).
# Usage: bench/run-csv-import.sh [N]
set -euo pipefail
cd "$(dirname "$0")/.."
bench/build
n=${1:-100000}
mkdir -p build-bench/data
base="build-bench/data/demo-$n.mdb"
[ -f "$base" ] || build-bench/tools/quillmar-db/quillmar-db demo "$base" --expenses "$n" >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
build-bench/tools/quillmar-db/quillmar-db export "$base" "$work/export.csv" >/dev/null
cat > "$work/ours.sh" <<OURS
cp $base $work/ours.mdb && exec build-bench/tools/quillmar-db/quillmar-db import $work/ours.mdb $work/export.csv --include-duplicates
OURS
cat > "$work/peer.sql" <<'SQL'
CREATE TABLE bare (c1, c2, c3, c4, c5, c6, c7, c8, c9, c10, c11, c12);
.mode csv
.import EXPORT bare
INSERT INTO Expenses (ExpType, ExpCat, ExpDate, ExpYear, Item, Detail, Vendor, ChkNbr, AcctCode, Amount, Reimburse, Status,
                      ProjectID, TypeComp)
  SELECT t.ExpType, nullif(c3, ''), replace(c1, '/', '-') || ' 00:00:00', CAST(substr(c1, 1, 4) AS INTEGER), nullif(c4, ''),
         nullif(c12, ''), nullif(c9, ''), nullif(c11, ''), nullif(c10, ''), CAST(round(CAST(c5 AS REAL) * 10000) AS INTEGER),
         t.ExpComp = 2 AND c6 = 'R', CASE WHEN t.ExpComp = 2 THEN coalesce(s.Status, 0) ELSE 0 END,
         CASE WHEN t.ExpComp = 2 THEN p.ProjectID ELSE CAST(substr(c1, 1, 4) AS INTEGER) END, t.ExpComp
  FROM bare JOIN lkpExpTypes t ON t.ExpLabel = c2
       LEFT JOIN Projects p ON p.ProjectName = c7 LEFT JOIN lkpExpBillStatus s ON s.StatusCode = c8;
SQL
sed -i "s#EXPORT#$work/export.csv#" "$work/peer.sql"
cat > "$work/peer.sh" <<PEER
cp $base $work/peer.mdb && exec sqlite3 $work/peer.mdb < $work/peer.sql
PEER
sh "$work/ours.sh"
sh "$work/peer.sh"
echo "rows: ours $(sqlite3 "$work/ours.mdb" 'SELECT count(*) FROM Expenses'), peer $(sqlite3 "$work/peer.mdb" 'SELECT count(*) FROM Expenses')"
# The peer must store the very rows the import stores, or the pair times different work.
columns='ExpID, ExpType, ExpCat, ExpDate, ExpYear, Item, Detail, Vendor, ChkNbr, AcctCode, Amount, Reimburse, Status, ProjectID, TypeComp'
differ=$(sqlite3 "$work/ours.mdb" "ATTACH '$work/peer.mdb' AS peer" \
    "SELECT count(*) FROM (SELECT $columns FROM main.Expenses EXCEPT SELECT $columns FROM peer.Expenses)")
[ "$differ" = 0 ] || { echo "the peer stored $differ rows unlike the import's" >&2; exit 1; }
farm-bench -n 5 --timeout 600 --vs "sh $work/peer.sh" -- sh "$work/ours.sh"
