#!/usr/bin/env bash
# The window ends cleanly on SIGTERM (a logout) and SIGINT (Ctrl+C in a terminal): exit code 0,
# the window state saved and the working directory still set for the next start.
# Usage: quit_on_signal_test.sh PAYLARK
set -uo pipefail
paylark=$1

work=$(mktemp -d)
pid=""
cleanup() {
  [ -n "$pid" ] && kill -KILL "$pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

export QT_QPA_PLATFORM=offscreen LC_ALL=en_US.UTF-8 XDG_CONFIG_HOME=$work/config \
  XDG_CACHE_HOME=$work/cache XDG_DATA_HOME=$work/data XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$XDG_CONFIG_HOME/Velmora" "$work/w"
mkdir -m 700 "$XDG_RUNTIME_DIR"
settings=$XDG_CONFIG_HOME/Velmora/Paylark.conf

for signal in TERM INT; do
  printf '[Directory]\nPath=%s\n' "$work/w" >"$settings"
  rm -rf "$work/w/Paylark Files"
  "$paylark" >"$work/out" 2>"$work/err" &
  pid=$!
  # The records folder is made by the start-up load, after the handler is in place.
  for _ in $(seq 300); do
    [ -d "$work/w/Paylark Files" ] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  [ -d "$work/w/Paylark Files" ] || fail "SIG$signal: the window did not start: $(cat "$work/err")"
  kill -"$signal" "$pid"
  code=0
  wait "$pid" || code=$?
  pid=""
  [ "$code" -eq 0 ] || fail "SIG$signal: exit code $code; stderr: $(cat "$work/err")"
  grep -q '^DueDetailsBarState=' "$settings" || fail "SIG$signal: the window state was not saved"
  grep -q "^Path=$work/w\$" "$settings" || fail "SIG$signal: the working directory was lost"
done

[ "$failures" -eq 0 ] || exit 1
echo "quit on signal: all checks passed"
