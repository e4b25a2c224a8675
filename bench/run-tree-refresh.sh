#!/usr/bin/env bash
# RefreshTree on demo databases of 100,000 and 1,000,000 expenses, offscreen, in both sort
# modes, against the record set's ordered open + scan plus a bare insertion of as many items into
# the same tree model and view. Usage: bench/run-tree-refresh.sh [SIZES...]
set -euo pipefail
cd "$(dirname "$0")/.."
bench/build
mkdir -p build-bench/data
sizes=("$@")
[ ${#sizes[@]} -eq 0 ] && sizes=(100000 1000000)
for n in "${sizes[@]}"; do
  db="build-bench/data/demo-$n.mdb"
  [ -f "$db" ] || build-bench/tools/quillmar-db/quillmar-db demo "$db" --expenses "$n" >/dev/null
  echo "== $n expenses"
  build-bench/bench/tree_refresh "$db"
done
