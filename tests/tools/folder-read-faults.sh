#!/usr/bin/env bash
# hotsync and handheld dump when reading the handheld folder fails after its first entries (EIO
# injected into the second getdents64 call, the one that reads on past them). Neither may abort:
# the HotSync completes (the sweep of leftover files only tidies up) and the dump says it could
# not read the folder.
# Usage: folder-read-faults.sh HOTSYNC HANDHELD QUILLMAR_DB CONDUIT
set -euo pipefail
hotsync=$1 handheld=$2 quillmar_db=$3 conduit=$4
if ! strace -qq -o /dev/null true 2>/dev/null; then
  echo "strace cannot trace processes here (no ptrace): skipped"
  exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/config/Corvander" "$work/runtime"
chmod 700 "$work/runtime"
export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime" XDG_DATA_HOME="$work/data"
"$quillmar_db" create "$work/db.mdb" >/dev/null
printf '[Settings]\nCurrDBName=%s\n' "$work/db.mdb" > "$work/config/Corvander/Quillmar.ini"
"$handheld" init "$work/hh" >/dev/null
"$handheld" add-expense "$work/hh" --type 0 --date 20261201 --amount 1850 --item Taxi >/dev/null
inject=(strace -f -qq -o /dev/null -e trace=getdents64 -e inject=getdents64:error=EIO:when=2)

status=0
"${inject[@]}" "$hotsync" --handheld "$work/hh" --conduit "$conduit" --log "$work/log" >"$work/out" 2>&1 || status=$?
if [ "$status" != 0 ] || [ "$(sqlite3 "$work/db.mdb" 'SELECT count(*) FROM Expenses')" != 1 ]; then
  echo "hotsync with a folder read failing half-way: exit $status, $(sqlite3 "$work/db.mdb" 'SELECT count(*) FROM Expenses') rows"
  cat "$work/out"
  exit 1
fi
status=0
"${inject[@]}" "$handheld" dump "$work/hh" >"$work/out" 2>&1 || status=$?
if [ "$status" != 1 ] || ! grep -q "cannot read the folder '$work/hh': Input/output error" "$work/out"; then
  echo "handheld dump with a folder read failing half-way: exit $status"
  cat "$work/out"
  exit 1
fi
echo "both held: the HotSync completed, the dump said why it could not list the folder"
