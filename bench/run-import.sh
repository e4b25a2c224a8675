#!/usr/bin/env bash
# Import of N handheld expenses (default 10,000) through the HotSync host and the conduit library
# (handheld-to-desktop action, whole process), against a plain program that stores the same rows
# with one prepared INSERT in one transaction. Each run starts from fresh copies of an empty
# expense database (or a demo one with DESKTOP_ROWS expenses) and of the handheld.
# Usage: bench/run-import.sh [N]    (environment: DESKTOP_ROWS=100000 for a filled desktop)
set -euo pipefail
cd "$(dirname "$0")/.."
bench/build
n=${1:-10000}
rows=${DESKTOP_ROWS:-0}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/config/Corvander" "$work/runtime"
chmod 700 "$work/runtime"
if [ "$rows" -gt 0 ]; then
  build-bench/tools/quillmar-db/quillmar-db demo "$work/base.mdb" --expenses "$rows" >/dev/null
else
  build-bench/tools/quillmar-db/quillmar-db create "$work/base.mdb" >/dev/null
fi
build-bench/bench/make_handheld "$work/base-handheld" "$n"
printf '[Settings]\nCurrDBName=%s\n' "$work/run.mdb" > "$work/config/Corvander/Quillmar.ini"
export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime" XDG_DATA_HOME="$work/data"

seconds() {  # wall-clock seconds of one command, to the millisecond
  local start end
  start=$(date +%s%N)
  "$@" >/dev/null
  end=$(date +%s%N)
  echo "$start $end" | awk '{printf "%.3f", ($2 - $1) / 1e9}'
}
best_host=999 best_plain=999 best_check=999
for _ in 1 2 3; do
  t=$(seconds sqlite3 "$work/base.mdb" "PRAGMA integrity_check(1)")
  best_check=$(echo "$t $best_check" | awk '{print ($1 < $2) ? $1 : $2}')
  cp "$work/base.mdb" "$work/run.mdb"; rm -rf "$work/handheld"; cp -r "$work/base-handheld" "$work/handheld"
  t=$(seconds build-bench/tools/hotsync/hotsync --handheld "$work/handheld" --action handheld-to-desktop \
        --conduit build-bench/conduit/libQuillsync.so --log "$work/HotSync.log")
  imported=$(sqlite3 "$work/run.mdb" "SELECT count(*) FROM Expenses")
  best_host=$(echo "$t $best_host" | awk '{print ($1 < $2) ? $1 : $2}')
  cp "$work/base.mdb" "$work/run.mdb"
  t=$(seconds build-bench/bench/plain_insert "$work/base-handheld" "$work/run.mdb")
  best_plain=$(echo "$t $best_plain" | awk '{print ($1 < $2) ? $1 : $2}')
done
printf "%s handheld expenses into a desktop of %s rows (%s rows after the sync)\n" "$n" "$rows" "$imported"
printf "hotsync + conduit: %s s   plain prepared insert: %s s   ratio: %s\n" "$best_host" "$best_plain" \
  "$(echo "$best_host $best_plain" | awk '{printf "%.2fx", $1 / $2}')"
# The sync refuses a damaged desktop database before writing; this is what that check costs alone.
printf "of which the integrity check of the desktop database (sqlite3 shell alone): %s s\n" "$best_check"
