#!/usr/bin/env bash
# tresolva-batch as a person runs it: the default settings, an export, and
# every refusal or failure as one line, a status, and no file written.
#   cli.sh TRESOLVA-BATCH
set -u
BATCH=$1
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

"$BATCH" settings >"$WORK/default.toml" || fail "settings ended with $?"
grep -q '^tmin = 50.0$' "$WORK/default.toml" || fail "no tmin in the default settings"
"$BATCH" export -s "$WORK/default.toml" -o "$WORK/run.csv" || fail "export ended with $?"
[ "$(head -n1 "$WORK/run.csv")" = "t,x,y,z" ] || fail "no header row"
[ "$(wc -l <"$WORK/run.csv")" -eq 30000 ] || fail "not 29999 rows"
LC_ALL=de_DE.UTF-8 "$BATCH" export -o "$WORK/de.csv" 2>/dev/null
cmp -s "$WORK/run.csv" "$WORK/de.csv" || fail "the CSV depends on the locale"

# refused WHAT STATUS COMMAND...: one line on stderr, nothing at the output
refused() {
  local what=$1 want=$2
  shift 2
  "$@" >/dev/null 2>"$WORK/err"
  local got=$?
  [ "$got" -eq "$want" ] || fail "$what: status $got, not $want"
  [ "$(wc -l <"$WORK/err")" -eq 1 ] || fail "$what: not one line: $(cat "$WORK/err")"
  [ ! -e "$WORK/out.csv" ] && [ ! -e "$WORK/out.csv.part" ] || fail "$what: a file was written"
}
printf 'tmin = 6000.0\n' >"$WORK/bad.toml"
refused "a value outside the panel's limits" 2 "$BATCH" export -s "$WORK/bad.toml" -o "$WORK/out.csv"
refused "a missing settings file" 2 "$BATCH" export -s "$WORK/none.toml" -o "$WORK/out.csv"
refused "an unknown subcommand" 2 "$BATCH" render -o "$WORK/out.csv"
refused "an output in a missing folder" 1 "$BATCH" export -o "$WORK/none/out.csv"
# A disk that fills up: files may not grow past 1 KiB (SIGXFSZ ignored, so
# the write fails as on a full disk).
refused "a full disk" 1 bash -c "ulimit -f 1; trap '' XFSZ; exec '$BATCH' export -o '$WORK/out.csv'"
if [ -c /dev/full ]; then
  "$BATCH" export -o /dev/full 2>/dev/null && fail "writing to /dev/full was not noticed"
  [ -c /dev/full ] || fail "/dev/full was replaced"
fi
echo "cli: ok"
