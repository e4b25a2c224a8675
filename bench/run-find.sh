#!/usr/bin/env bash
# Find on demo databases of 100,000 and 1,000,000 expenses, offscreen, in both sort modes: the
# time of each keystroke's narrowing against a bare scan of the same rows.
# Usage: bench/run-find.sh [SIZES...]
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
  build-bench/bench/find_keystroke "$db"
done
