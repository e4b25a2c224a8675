#!/usr/bin/env bash
# Importing Quillmar's own CSV: the export of a demo database of N expenses (default 100,000)
# imported into a copy of that database (so N expenses are already there; duplicates included)
# by `quillmar-db import`, against the sqlite3 shell's .import of the same file into a bare table
# plus an INSERT of its rows into Expenses. Both as whole processes from a fresh copy of the
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
INSERT INTO Expenses (ExpType, ExpCat, ExpDate, Item, Amount, Vendor, AcctCode, ChkNbr, Detail)
  SELECT 0, c3, replace(c1, '/', '-') || ' 00:00:00', c4, CAST(CAST(c5 AS REAL) * 10000 AS INTEGER), c9, c10, c11, c12 FROM bare;
SQL
sed -i "s#EXPORT#$work/export.csv#" "$work/peer.sql"
cat > "$work/peer.sh" <<PEER
cp $base $work/peer.mdb && exec sqlite3 $work/peer.mdb < $work/peer.sql
PEER
sh "$work/ours.sh"
sh "$work/peer.sh"
echo "rows: ours $(sqlite3 "$work/ours.mdb" 'SELECT count(*) FROM Expenses'), peer $(sqlite3 "$work/peer.mdb" 'SELECT count(*) FROM Expenses')"
farm-bench -n 5 --timeout 600 --vs "sh $work/peer.sh" -- sh "$work/ours.sh"
