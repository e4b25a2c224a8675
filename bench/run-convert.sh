#!/usr/bin/env bash
# Converting an Access (Jet) file's expenses: the largest table of the public Jet 3 sample
# (Order Details, 2,155 rows) read REPEATS times as Expenses (default 47: 101,285 rows) through
# the whole conversion, against mdb-export of the same table as many times piped into a bare
# prepared SQLite insert. Pairs the two with farm-bench (median of five) and prints rows per second.
# Usage: bench/run-convert.sh [REPEATS]
set -euo pipefail
cd "$(dirname "$0")/.."
bench/build
repeats=${1:-47}
jet=tests/platform/jet/samples/nwind.mdb
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
build-bench/bench/jet_convert "$jet" "Order Details" "$repeats" "$work/new.mdb"
cat > "$work/peer.sh" <<PEER
for i in \$(seq $repeats); do mdb-export -H $jet 'Order Details'; done | build-bench/bench/csv_insert $work/peer.db 5
PEER
sh "$work/peer.sh"
farm-bench -n 5 --timeout 300 --vs "sh $work/peer.sh" -- \
  build-bench/bench/jet_convert "$jet" "Order Details" "$repeats" "$work/new.mdb"
