#!/usr/bin/env bash
# Trial (not part of ctest): makes N damaged copies of a demo expense database - random bytes
# overwritten in a random page, or the file cut short - and checks that `quillmar-db info`
# refuses every copy that fails SQLite's integrity check, and that opening a copy changes none.
# Usage: tests/trials/damaged-databases.sh [N] [SEED]   (defaults 700 and 1)
# Environment: QUILLMAR_DB, the quillmar-db to try (default build/tools/quillmar-db/quillmar-db).
set -euo pipefail
cd "$(dirname "$0")/../.."
n=${1:-700}
RANDOM=${2:-1}  # the same seed makes the same copies
tool=${QUILLMAR_DB:-build/tools/quillmar-db/quillmar-db}
[ -x "$tool" ] || { echo "no quillmar-db at $tool: build first, or set QUILLMAR_DB" >&2; exit 2; }
command -v sqlite3 >/dev/null || { echo "the sqlite3 shell is needed (apt-get install sqlite3)" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$tool" demo "$work/base.mdb" --expenses 3000 --seed 7 >/dev/null
size=$(stat -c %s "$work/base.mdb")
page_size=$(sqlite3 -readonly "$work/base.mdb" 'PRAGMA page_size')
pages=$((size / page_size))

# Random numbers come from $RANDOM in this shell only: a subshell would draw from a reseeded one.
random_below() {  # sets r to a number in 0 .. $1 - 1
  r=$(((RANDOM * 32768 + RANDOM) % $1))
}

# Overwrites 1 to 64 bytes at a random place of a random page with random bytes; sets what.
overwrite_bytes() {
  local file=$1 page length offset bytes="" k
  random_below "$pages"; page=$r
  random_below 64; length=$((1 + r))
  random_below $((page_size - length)); offset=$((page * page_size + r))
  for ((k = 0; k < length; k++)); do
    printf -v bytes '%s\\%03o' "$bytes" $((RANDOM % 256))
  done
  printf "$bytes" | dd of="$file" bs=1 seek="$offset" conv=notrunc status=none
  what="page $((page + 1)), $length bytes at $offset"
}

fails_check() {  # $1 file, $2 pragma: true when SQLite does not answer "ok"
  local answer
  answer=$(sqlite3 -readonly "$1" "PRAGMA $2" 2>&1) || return 0
  [ "$answer" != "ok" ]
}

damaged=0 quick_missed=0 refused=0 accepted=0 changed=0 sound_refused=0
for ((i = 1; i <= n; i++)); do
  copy="$work/copy.mdb"
  cp "$work/base.mdb" "$copy"
  if [ $((RANDOM % 5)) -eq 0 ]; then
    random_below $((size - 1))
    truncate -s $((1 + r)) "$copy"
    what="cut to $((1 + r)) bytes"
  else
    overwrite_bytes "$copy"
  fi
  before=$(sha256sum <"$copy")
  status=0
  "$tool" info "$copy" >/dev/null 2>"$work/err" || status=$?
  [ "$(sha256sum <"$copy")" = "$before" ] || { changed=$((changed + 1)); echo "copy $i ($what) changed when opened"; }
  if fails_check "$copy" integrity_check; then
    damaged=$((damaged + 1))
    fails_check "$copy" quick_check || quick_missed=$((quick_missed + 1))
    if [ "$status" -ne 0 ]; then
      refused=$((refused + 1))
    else
      accepted=$((accepted + 1))
      echo "copy $i ($what) fails the integrity check but info accepted it"
    fi
  elif [ "$status" -ne 0 ]; then
    sound_refused=$((sound_refused + 1))
    echo "copy $i ($what) passes the integrity check, info refused it: $(head -c 200 "$work/err")"
  fi
done

echo "copies:                                   $n"
echo "fail PRAGMA integrity_check:              $damaged"
echo "  of which pass PRAGMA quick_check:       $quick_missed"
echo "  refused by quillmar-db info:            $refused"
echo "  accepted by quillmar-db info:           $accepted"
echo "pass the integrity check, refused by info: $sound_refused"
echo "changed by being opened:                  $changed"
[ "$accepted" -eq 0 ] && [ "$changed" -eq 0 ]
