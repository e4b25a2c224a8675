#!/usr/bin/env bash
# install-test.sh BUILD SOURCE BINDIR PRIVATELIBDIR DATADIR
# Installs BUILD into a temporary prefix and checks what lands there: every file in its place,
# run paths that do not point back into the build tree, libraries that resolve, a clean desktop
# entry and AppStream data, programs that start, and a HotSync that loads the installed conduit.
set -euo pipefail
build=$1 source=$2 bindir=$3 privlibdir=$4 datadir=$5

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix="$work/prefix"
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

cmake --install "$build" --prefix "$prefix" >"$work/install.log" || { cat "$work/install.log" >&2; exit 1; }

programs=(quillmar quillmar-db quillmar-report handheld hotsync)
libraries=(libQuillsync.so libpalmsync.so.1)
expected=("${programs[@]/#/$bindir/}" "${libraries[@]/#/$privlibdir/}"
  "$datadir/applications/com.corvander.quillmar.desktop"
  "$datadir/metainfo/com.corvander.quillmar.metainfo.xml"
  "$datadir/mime/packages/com.corvander.quillmar.xml"
  "$datadir/icons/hicolor/scalable/apps/quillmar.svg"
  "$datadir/doc/quillmar/copyright")
for size in 16 24 32 48 64 128 256; do
  expected+=("$datadir/icons/hicolor/${size}x${size}/apps/quillmar.png")
done
if [ -f "$source/help/index.html" ]; then
  expected+=("$datadir/quillmar/help/index.html")
fi
for file in "${expected[@]}"; do
  [ -f "$prefix/$file" ] || fail "not installed: $file"
done
for program in "${programs[@]}"; do
  [ -x "$prefix/$bindir/$program" ] || fail "not executable: $bindir/$program"
done
# Tests and benchmarks stay in the build tree.
unexpected=$(find "$prefix" -name '*_tests' -o -name '*bench*' -o -name '*.a' -o -name 'libpalmsync.so')
[ -z "$unexpected" ] || fail "installed but not meant to be: $unexpected"

for file in "${programs[@]/#/$prefix/$bindir/}" "${libraries[@]/#/$prefix/$privlibdir/}"; do
  [ -f "$file" ] || continue
  if readelf -d "$file" | grep -E 'R(UN)?PATH' | grep -qF "$build"; then
    fail "$file has a run path into the build tree"
  fi
  if ldd "$file" | grep -q 'not found'; then
    fail "$file has unresolved libraries: $(ldd "$file" | grep 'not found' | tr -s ' \t' ' ')"
  fi
done

desktop="$prefix/$datadir/applications/com.corvander.quillmar.desktop"
if [ -f "$desktop" ]; then
  if ! out=$(desktop-file-validate "$desktop" 2>&1) || [ -n "$out" ]; then
    fail "desktop-file-validate: $out"
  fi
fi
# appstreamcli closes a clean run with a success line; any issue is a line of its own (E:, W:,
# I: or P:) and fails validate-tree, which also checks the desktop entry and icon it names.
if ! out=$(appstreamcli validate --no-net --pedantic "$prefix/$datadir/metainfo/com.corvander.quillmar.metainfo.xml" 2>&1) ||
   grep -qE '^[EWIP]: ' <<<"$out"; then
  fail "appstreamcli validate: $out"
fi
if ! out=$(appstreamcli validate-tree --no-net "$prefix" 2>&1) || grep -qE '^[EWIP]: ' <<<"$out"; then
  fail "appstreamcli validate-tree: $out"
fi

# The installed MIME package makes application/x-quillmar known once the database is updated, as
# the package manager's trigger does; where gio can ask, a SQLite file named .mdb is of that type
# and an Access file of the same name is not.
mime="$prefix/$datadir/mime"
if ! out=$(update-mime-database "$mime" 2>&1); then
  fail "update-mime-database: $out"
elif ! grep -qF '<comment>Quillmar expense database</comment>' "$mime/application/x-quillmar.xml" 2>/dev/null; then
  fail "update-mime-database did not make application/x-quillmar known"
elif command -v gio >/dev/null; then
  printf 'SQLite format 3\0' >"$work/sqlite.mdb"
  printf '\0\1\0\0Standard Jet DB\0' >"$work/access.mdb"
  typeOf() { XDG_DATA_DIRS="$prefix/$datadir:/usr/share" gio info -a standard::content-type "$1" | sed -n 's/.*content-type: //p'; }
  [ "$(typeOf "$work/sqlite.mdb")" = application/x-quillmar ] || fail "a SQLite .mdb is $(typeOf "$work/sqlite.mdb")"
  [ "$(typeOf "$work/access.mdb")" != application/x-quillmar ] || fail "an Access .mdb is application/x-quillmar"
fi

# The programs run from the install tree, away from the user's own settings.
export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime" XDG_DATA_HOME="$work/data"
mkdir -p "$XDG_CONFIG_HOME/Corvander" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
for program in quillmar-db quillmar; do
  # A program that does not know --version would start and wait: it gets 60 seconds.
  if ! out=$(timeout 60 "$prefix/$bindir/$program" --version 2>&1); then
    fail "$program --version failed: $out"
  elif ! grep -qF "1.0.0" <<<"$out"; then
    fail "$program --version does not give the version: $out"
  fi
done

# hotsync without --conduit takes the conduit installed beside it, not the build tree's.
db="$work/Expenses.mdb" palm="$work/palm"
"$prefix/$bindir/quillmar-db" create "$db" >/dev/null
printf '[Settings]\nCurrDBName=%s\n' "$db" >"$XDG_CONFIG_HOME/Corvander/Quillmar.ini"
"$prefix/$bindir/handheld" init "$palm" >/dev/null
"$prefix/$bindir/handheld" add-expense "$palm" --type 10 --date 20261201 --amount 1850 --item Taxi >/dev/null
if ! LD_DEBUG=files timeout 120 "$prefix/$bindir/hotsync" --handheld "$palm" --log "$work/HotSync.log" >"$work/sync.out" 2>"$work/sync.err"; then
  fail "installed hotsync failed: $(cat "$work/sync.out")"
fi
grep -qF "file=$prefix/$privlibdir/libQuillsync.so " "$work/sync.err" ||
  fail "installed hotsync did not load $prefix/$privlibdir/libQuillsync.so"
! grep -qF "file=$build/" "$work/sync.err" || fail "installed hotsync loaded a library from the build tree"
"$prefix/$bindir/quillmar-db" info "$db" >"$work/info.out"
grep -qE '^Expenses[^0-9]*1$' "$work/info.out" || fail "the expense did not arrive: $(cat "$work/info.out")"

[ "$failures" -eq 0 ] || { echo "$failures check(s) failed" >&2; exit 1; }
echo "install tree checked: ${#expected[@]} files"
