#!/usr/bin/env bash
# Trials of the HotSync against what a user's machine does to it: random kills during a large
# import, injected I/O failures (EIO, ENOSPC) on the file calls, two syncs of one handheld at
# once, damaged handheld expense databases, an expense changed on the handheld after an emptying
# that failed, two handhelds of one user name, handheld folders of other users or open to them, a
# database path that is not UTF-8, and killed backups. After each trial, no expense may be
# duplicated or lost and no failure may have been reported as success. Not part of ./test: it
# takes minutes.
#
# Usage: tests/trials/hotsync-trials.sh
#          [kills|iofaults|concurrent|damaged|emptyfail|twohandhelds|folders|paths|backups|all]
# Sizes: KILLS=200 KILL_EXPENSES=20000 IOFAULTS=400 IO_EXPENSES=300 CONCURRENT=50 DAMAGED=2000
#        EMPTYFAIL=100 TWOHANDHELDS=50 BACKUP_KILLS=40 BACKUP_EXPENSES=200000
set -euo pipefail
cd "$(dirname "$0")/../.."
scripts/install-deps
for tool in strace python3; do
  if ! command -v "$tool" >/dev/null; then
    sudo=""; [ "$(id -u)" -ne 0 ] && sudo=sudo
    $sudo apt-get install -y -qq --no-install-recommends "$tool" >/dev/null
  fi
done
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUILLMAR_BENCH=ON -DQUILLMAR_TESTS=OFF >/dev/null
cmake --build build-bench >/dev/null

bin=$PWD/build-bench
damage="python3 $PWD/tests/trials/handheld_damage.py"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/config/Corvander" "$work/runtime"
chmod 700 "$work/runtime"
printf '[Settings]\nCurrDBName=%s\n' "$work/run.mdb" > "$work/config/Corvander/Quillmar.ini"
export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime" XDG_DATA_HOME="$work/data"
"$bin/tools/quillmar-db/quillmar-db" create "$work/base.mdb" >/dev/null

failures=0
fail() { echo "  FAULT: $*"; failures=$((failures + 1)); }

# A fresh desktop and a fresh copy of handheld $1.
fresh() { cp "$work/base.mdb" "$work/run.mdb"; rm -rf "$work/hh"; cp -r "$work/hh-$1" "$work/hh"; }
# One HotSync of the current handheld; any command words before it (strace ...) wrap it. Its
# output goes to $OUT (default $work/out).
hotsync() {
  "$@" "$bin/tools/hotsync/hotsync" --handheld "${HH:-$work/hh}" --action "${ACTION:-synchronize}" \
    --conduit "$bin/conduit/libQuillsync.so" --log "$work/log" >"${OUT:-$work/out}" 2>&1
}
# What the desktop holds: rows, their amounts and texts; and the handheld's expense records.
fingerprint() { sqlite3 "$1" "SELECT count(*) || '/' || total(Amount) || '/' || total(length(Item) + length(Detail)) FROM Expenses"; }
records_left() { [ -f "$work/hh/Qlmr-Expenses.pdb" ] && $damage expect "$work/hh/Qlmr-Expenses.pdb" | cut -d' ' -f1 || echo 0; }
ledger_rows() { sqlite3 "$work/run.mdb" "SELECT count(*) FROM sqlite_master WHERE name='HotSyncImports'" | grep -q 1 &&
                sqlite3 "$work/run.mdb" "SELECT count(*) FROM HotSyncImports" || echo 0; }
# Makes handheld $1 with $2 expenses and the desktop a complete import of it must give.
prepare() {
  [ -d "$work/hh-$1" ] && return
  "$bin/bench/make_handheld" "$work/hh-$1" "$2" >/dev/null
  cp "$work/base.mdb" "$work/ref.mdb"
  "$bin/bench/plain_insert" "$work/hh-$1" "$work/ref.mdb"
  fingerprint "$work/ref.mdb" > "$work/ref-$1"
}
# After a completed sync: every expense once, the handheld emptied, no temporary file left in the
# handheld's folder, and (unless $2 is "ledger-may-remain") nothing pending in the import ledger.
# Forgetting the handheld's entries is cleanup after success: when only that fails, the next sync
# drops them, so a sync that reports success may leave them.
leftovers() { find "$work/hh" -maxdepth 1 -name '.*' -type f | wc -l; }
complete() {
  [ "$(fingerprint "$work/run.mdb")" = "$(cat "$work/ref-$1")" ] && [ "$(records_left)" = 0 ] &&
    { [ "${2:-}" = ledger-may-remain ] || [ "$(ledger_rows)" = 0 ]; } && [ "$(leftovers)" = 0 ]
}
# A plain HotSync after a trial must succeed and leave the complete state.
finish() {
  hotsync || { fail "$2: the HotSync after it failed: $(tail -n 2 "$work/out" | tr '\n' ' ')"; return; }
  complete "$1" || fail "$2: desktop $(fingerprint "$work/run.mdb") expected $(cat "$work/ref-$1"), handheld $(records_left) left, ledger $(ledger_rows), $(leftovers) temporary files"
}

trial_kills() {
  local n=${KILLS:-200} size=${KILL_EXPENSES:-20000} start end ms landed=0
  prepare big "$size"
  fresh big; start=$(date +%s%N); hotsync; end=$(date +%s%N)
  ms=$(( (end - start) / 1000000 ))
  echo "kills: $n random kill -9 during a $size-expense HotSync (a whole one takes $ms ms)"
  for i in $(seq "$n"); do
    fresh big
    "$bin/tools/hotsync/hotsync" --handheld "$work/hh" --conduit "$bin/conduit/libQuillsync.so" \
      --log "$work/log" >/dev/null 2>&1 &
    local pid=$!
    sleep "$(awk -v r="$RANDOM" -v ms="$ms" 'BEGIN { printf "%.3f", r / 32767 * ms * 1.1 / 1000 }')"
    kill -9 "$pid" 2>/dev/null && landed=$((landed + 1))
    wait "$pid" 2>/dev/null || true
    finish big "kill $i"
  done
  echo "  $landed of $n kills landed while the HotSync ran"
}

trial_iofaults() {
  local n=${IOFAULTS:-400} size=${IO_EXPENSES:-300} reported=0 refused=0
  local calls=(write pwrite64 fsync fdatasync rename,renameat,renameat2 close openat unlink ftruncate fchmod getdents64)
  prepare small "$size"
  echo "iofaults: $n HotSyncs with one failing file call (EIO or ENOSPC) each"
  for i in $(seq "$n"); do
    fresh small
    local call=${calls[RANDOM % ${#calls[@]}]} error when=$((RANDOM % 40 + 1))
    error=$([ $((RANDOM % 2)) = 0 ] && echo EIO || echo ENOSPC)
    if hotsync strace -f -qq -o /dev/null -e "inject=$call:error=$error:when=$when"; then
      # Reported as success: it must be one.
      complete small ledger-may-remain && [ -f "$work/hh/Qlmr-Accounts.pdb" ] ||
        fail "fault $i ($call $error #$when) reported success: desktop $(fingerprint "$work/run.mdb"), handheld $(records_left) left"
      reported=$((reported + 1))
    else
      refused=$((refused + 1))
      # The first error explains a failure, never the complaint of a rollback after it.
      grep -q "cannot rollback" "$work/out" && fail "fault $i ($call $error #$when): the rollback's complaint hid the cause"
    fi
    finish small "fault $i ($call $error #$when)"
  done
  echo "  $refused failed as failures, $reported completed (the fault hit a call that does not matter)"
}

trial_concurrent() {
  local n=${CONCURRENT:-50} size=${KILL_EXPENSES:-20000} refused=0 p1 p2 rc1 rc2
  prepare big "$size"
  echo "concurrent: $n times two HotSyncs of one $size-expense handheld at once"
  for i in $(seq "$n"); do
    fresh big
    OUT="$work/out1" hotsync & p1=$!
    OUT="$work/out2" hotsync & p2=$!
    rc1=0; wait "$p1" || rc1=$?
    rc2=0; wait "$p2" || rc2=$?
    if [ "$rc1" != 0 ] || [ "$rc2" != 0 ]; then
      refused=$((refused + 1))
      grep -qh "being synchronised by another HotSync" "$work/out1" "$work/out2" ||
        fail "pair $i: a HotSync failed ($rc1/$rc2) for another reason: $(tail -qn 1 "$work/out1" "$work/out2" | tr '\n' ' ')"
    fi
    finish big "pair $i"
  done
  echo "  in $refused of $n pairs one HotSync was turned away"
}

trial_damaged() {
  local n=${DAMAGED:-2000} imported=0 refused=0
  prepare dmg 50
  echo "damaged: $n HotSyncs of a damaged handheld expense database"
  for i in $(seq "$n"); do
    fresh dmg
    $damage damage "$work/hh-dmg/Qlmr-Expenses.pdb" "$work/hh/Qlmr-Expenses.pdb" "$i"
    local expected before rows
    expected=$($damage expect "$work/hh/Qlmr-Expenses.pdb")
    before=$(md5sum < "$work/hh/Qlmr-Expenses.pdb")
    if ACTION=handheld-to-desktop hotsync; then
      rows=$(sqlite3 "$work/run.mdb" "SELECT count(*) FROM Expenses")
      [ "${expected#* }" = 1 ] && [ "$rows" = "${expected% *}" ] && [ "$(records_left)" = 0 ] ||
        fail "damaged file $i: imported $rows, expected '$expected' (live, all sound), $(records_left) left"
      imported=$((imported + 1))
    else
      [ "$(sqlite3 "$work/run.mdb" "SELECT count(*) FROM Expenses")" = 0 ] ||
        fail "damaged file $i: refused but rows were stored"
      [ "$(md5sum < "$work/hh/Qlmr-Expenses.pdb")" = "$before" ] || fail "damaged file $i: refused but the file changed"
      refused=$((refused + 1))
    fi
  done
  echo "  $imported imported whole (their damage touched nothing live), $refused refused with nothing stored"
}


# The emptying of the handheld fails after the import committed (every rename after the first,
# which gives a new handheld its HotSync ID); the user then changes one expense on the handheld.
# The next HotSync must store it over the row it made: every expense once, the changed one changed.
failing_renames=(strace -f -qq -o /dev/null -e inject=rename,renameat,renameat2:error=EIO:when=2+)
trial_emptyfail() {
  local n=${EMPTYFAIL:-100} size=${IO_EXPENSES:-300} index amount replaced=0
  prepare small "$size"
  echo "emptyfail: $n times an emptying that fails, an expense changed on the handheld, and the next HotSync"
  for i in $(seq "$n"); do
    fresh small
    if ACTION=handheld-to-desktop hotsync "${failing_renames[@]}"; then
      fail "emptyfail $i: a HotSync that could not empty the handheld reported success"; continue
    fi
    [ "$(fingerprint "$work/run.mdb")" = "$(cat "$work/ref-small")" ] || fail "emptyfail $i: the import was not stored whole"
    index=$((RANDOM % size)) amount=$((RANDOM * 7 + 1))
    $damage edit "$work/hh/Qlmr-Expenses.pdb" "$index" "$amount"
    cp "$work/base.mdb" "$work/ref-edited.mdb"
    "$bin/bench/plain_insert" "$work/hh" "$work/ref-edited.mdb"
    hotsync || { fail "emptyfail $i: the HotSync after it failed: $(tail -n 2 "$work/out" | tr '\n' ' ')"; continue; }
    [ "$(fingerprint "$work/run.mdb")" = "$(fingerprint "$work/ref-edited.mdb")" ] && [ "$(records_left)" = 0 ] &&
      [ "$(ledger_rows)" = 0 ] && grep -q "its desktop expense was replaced" "$work/out" && replaced=$((replaced + 1)) ||
      fail "emptyfail $i (record $index): desktop $(fingerprint "$work/run.mdb") expected $(fingerprint "$work/ref-edited.mdb"), $(records_left) left, ledger $(ledger_rows)"
  done
  echo "  in $replaced of $n the changed expense replaced its row; every other expense stayed once"
}

# Two handhelds with the same (here: no) user name and the same expenses: A's import is stored
# but A cannot be emptied, then B is synchronised, then A again. Each handheld's expenses once.
trial_twohandhelds() {
  local n=${TWOHANDHELDS:-50} size=${IO_EXPENSES:-300} ref expected whole=0
  prepare small "$size"
  ref=$(cat "$work/ref-small")
  echo "twohandhelds: $n times two handhelds of one user name, the first not emptied at its first HotSync"
  for i in $(seq "$n"); do
    fresh small
    rm -rf "$work/hh-b"; cp -r "$work/hh-small" "$work/hh-b"
    ACTION=handheld-to-desktop hotsync "${failing_renames[@]}" && fail "twohandhelds $i: A reported success"
    HH="$work/hh-b" hotsync || fail "twohandhelds $i: B failed: $(tail -n 1 "$work/out")"
    hotsync || fail "twohandhelds $i: A's second HotSync failed: $(tail -n 1 "$work/out")"
    expected="$((${ref%%/*} * 2))/$(awk -v a="$(cut -d/ -f2 <<<"$ref")" 'BEGIN { printf "%.1f", a * 2 }')"
    [ "$(sqlite3 "$work/run.mdb" "SELECT count(*) || '/' || printf('%.1f', total(Amount)) FROM Expenses")" = "$expected" ] &&
      [ "$(records_left)" = 0 ] && [ "$(ledger_rows)" = 0 ] && whole=$((whole + 1)) ||
      fail "twohandhelds $i: desktop $(sqlite3 "$work/run.mdb" "SELECT count(*) || '/' || total(Amount) FROM Expenses") expected $expected, ledger $(ledger_rows)"
  done
  echo "  in $whole of $n both handhelds' expenses were on the desktop once each ($expected)"
}

# Handheld folders that others can write, a link to one, and (as root) another user's: refused,
# naming the folder, with nothing read from or written into it.
trial_folders() {
  local before
  prepare small "${IO_EXPENSES:-300}"
  echo "folders: a folder open to others, a link to it, another user's folder"
  fresh small
  # The folder's entries, sizes and times, its own included (a file made or removed changes it).
  listing() { find "$work/hh" -printf '%p %s %T@\n' | sort | md5sum; }
  chmod 0777 "$work/hh"; before=$(listing)
  hotsync && fail "folders: a folder others can write was used"
  grep -q "can be written by other users (mode 0777)" "$work/out" || fail "folders: the refusal does not say why: $(tail -n 2 "$work/out")"
  ln -sfn "$work/hh" "$work/link"
  HH="$work/link" hotsync && fail "folders: a link to a folder others can write was used"
  grep -q "The handheld folder $work/link ($work/hh)" "$work/out" || fail "folders: the link's refusal does not name both"
  [ "$(listing)" = "$before" ] || fail "folders: the refused folder changed"
  chmod 0755 "$work/hh"
  if [ "$(id -u)" = 0 ]; then
    chown 65534:65534 "$work/hh"
    hotsync && fail "folders: another user's folder was used"
    grep -q "belongs to .*(uid 65534), not to you" "$work/out" || fail "folders: the refusal does not name the owner"
    chown 0:0 "$work/hh"
  else
    echo "  (another user's folder needs root to make: left out)"
  fi
  [ "$(sqlite3 "$work/run.mdb" "SELECT count(*) FROM Expenses")" = 0 ] || fail "folders: expenses were imported from a refused folder"
  finish small "folders"
}

# A desktop database whose path is not UTF-8, typed into the profile as bytes, beside a decoy
# named as the path would read decoded: the HotSync imports into the path's file only.
trial_paths() {
  local path=$work/caf$'\xe9'.mdb decoy=$work/caf$'\xef\xbf\xbd'.mdb
  prepare small "${IO_EXPENSES:-300}"
  echo "paths: a database path that is not UTF-8, and a decoy with the decoded name"
  fresh small
  cp "$work/base.mdb" "$path"; cp "$work/base.mdb" "$decoy"
  printf '[Settings]\nCurrDBName=%s\n' "$path" > "$work/config/Corvander/Quillmar.ini"
  hotsync || fail "paths: the HotSync failed: $(tail -n 2 "$work/out" | tr '\n' ' ')"
  [ "$(fingerprint "$path")" = "$(cat "$work/ref-small")" ] || fail "paths: the database was not imported into"
  [ "$(sqlite3 "$decoy" "SELECT count(*) FROM Expenses")" = 0 ] || fail "paths: the decoy was imported into"
  printf '[Settings]\nCurrDBName=%s\n' "$work/run.mdb" > "$work/config/Corvander/Quillmar.ini"
}

# Backups killed at random moments: the old backup stays whole, and the next backup leaves no
# temporary copy behind.
trial_backups() {
  local n=${BACKUP_KILLS:-40} size=${BACKUP_EXPENSES:-200000} start end ms pid left=0 now
  local db="$work/big.mdb" tool="$bin/tools/quillmar-db/quillmar-db"
  [ -f "$db" ] || "$tool" demo "$db" --expenses "$size" >/dev/null
  rm -f "$work/bk.mdb" "$work"/.bk.mdb.*
  start=$(date +%s%N); "$tool" backup "$db" --to "$work/bk.mdb" --force >/dev/null; end=$(date +%s%N)
  ms=$(( (end - start) / 1000000 ))
  echo "backups: $n random kill -9 during a backup of $size expenses (a whole one takes $ms ms)"
  for i in $(seq "$n"); do
    "$tool" backup "$db" --to "$work/bk.mdb" --force >/dev/null 2>&1 & pid=$!
    sleep "$(awk -v r="$RANDOM" -v ms="$ms" 'BEGIN { printf "%.3f", r / 32767 * ms * 1.1 / 1000 }')"
    kill -9 "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    [ "$(sqlite3 "$work/bk.mdb" "PRAGMA quick_check")" = ok ] || fail "backup kill $i: the old backup is damaged"
    # What this kill left; the next backup (the next kill's) must have removed what earlier ones left.
    now=$(find "$work" -maxdepth 1 -name '.bk.mdb.*' ! -name '*-journal' | wc -l)
    [ "$now" -le 1 ] || fail "backup kill $i: $now temporary copies lie beside the backup"
    left=$((left + now))
  done
  "$tool" backup "$db" --to "$work/bk.mdb" --force >/dev/null || fail "backups: the backup after the kills failed"
  [ "$(find "$work" -maxdepth 1 -name '.bk.mdb.*' | wc -l)" = 0 ] || fail "backups: temporary copies left after the next backup"
  [ "$(sqlite3 "$work/bk.mdb" "SELECT count(*) FROM Expenses")" = "$(sqlite3 "$db" "SELECT count(*) FROM Expenses")" ] ||
    fail "backups: the last backup is not whole"
  echo "  $left of the $n kills left a temporary copy; the next backup removed each, and none is left"
}

case "${1:-all}" in
  kills) trial_kills ;;
  iofaults) trial_iofaults ;;
  concurrent) trial_concurrent ;;
  damaged) trial_damaged ;;
  emptyfail) trial_emptyfail ;;
  twohandhelds) trial_twohandhelds ;;
  folders) trial_folders ;;
  paths) trial_paths ;;
  backups) trial_backups ;;
  all) trial_kills; trial_iofaults; trial_concurrent; trial_damaged; trial_emptyfail; trial_twohandhelds; trial_folders
       trial_paths; trial_backups ;;
  *) echo "usage: $0 [kills|iofaults|concurrent|damaged|emptyfail|twohandhelds|folders|paths|backups|all]" >&2; exit 2 ;;
esac
echo "faults found: $failures"
[ "$failures" = 0 ]
