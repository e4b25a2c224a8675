#!/usr/bin/env bash
# Launch to a loaded window on demo databases (default 10,000, 100,000 and 1,000,000 expenses),
# offscreen, median of three, timed from just before the process starts to the window painted
# with the tree (what a user waits for; the process's own exit is not part of it), beside the
# record set's bare ordered open + scan of the same file (recordset_scan) in the same run.
# Usage: bench/run-launch.sh [SIZES...]
set -euo pipefail
cd "$(dirname "$0")/.."
bench/build
data=build-bench/data
mkdir -p "$data"
profile=$(mktemp -d)
trap 'rm -rf "$profile"' EXIT
mkdir -p "$profile/config/Corvander" "$profile/run"
chmod 700 "$profile/run"
export XDG_CONFIG_HOME="$profile/config" XDG_RUNTIME_DIR="$profile/run"
sizes=("$@")
[ ${#sizes[@]} -eq 0 ] && sizes=(10000 100000 1000000)
median() { sort -n | sed -n 2p; }
printf "%-9s %9s %9s %9s %8s %10s\n" rows launch_s tab_s peak_MiB lines scan_s
for n in "${sizes[@]}"; do
  db="$data/demo-$n.mdb"
  [ -f "$db" ] || build-bench/tools/quillmar-db/quillmar-db demo "$db" --expenses "$n" >/dev/null
  printf '[Settings]\nCurrDBName=%s\n' "$PWD/$db" > "$profile/config/Corvander/Quillmar.ini"
  runs=()
  for _ in 1 2 3; do
    s=$(date +%s%N)
    out=$(build-bench/bench/launch)
    e=$(echo "$out" | awk '$1 == "shown_epoch_ns" {print $2}')
    runs+=("$(echo "$s $e" | awk '{printf "%.3f", ($2 - $1) / 1e9}') $out")
  done
  get() { for r in "${runs[@]}"; do echo "$r" | tr '\n' ' ' | awk -v k="$1" '{for (i = 1; i < NF; i++) if ($i == k) print $(i + 1)}'; done | median; }
  launch=$(for r in "${runs[@]}"; do echo "$r" | head -1 | cut -d' ' -f1; done | median)
  scan=$(build-bench/bench/recordset_scan "$db" 3 | awk '$1 == "total_s" {print $2}')
  printf "%-9s %9s %9s %9s %8s %10s\n" "$n" "$launch" "$(get tab_s)" "$(get peak_rss_mib)" "$(get lines)" "$scan"
done
