#!/usr/bin/env bash
# Installs a built tree under a temporary prefix and has systemd-analyze verify the reminder
# units there: the service must start the paylark-cli installed beside them and the timer must
# run daily at 09:00, catching up missed runs. Works without a running systemd: a user manager
# is only simulated, in a private runtime folder.
# Usage: systemd_units_test.sh BUILD_DIR. Exit 77: skipped.
set -uo pipefail
build_dir=$1

if ! command -v systemd-analyze >/dev/null; then
  echo "SKIP: systemd-analyze is not installed (Debian package systemd)"
  exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

prefix=$work/prefix
if ! cmake --install "$build_dir" --prefix "$prefix" >"$work/install.log" 2>&1; then
  cat "$work/install.log" >&2
  echo "FAIL: cmake --install --prefix $prefix" >&2
  exit 1
fi
units=$prefix/lib/systemd/user
service=$units/paylark-remind.service timer=$units/paylark-remind.timer
[ -f "$service" ] && [ -f "$timer" ] || { echo "FAIL: the units are not in $units" >&2; exit 1; }

grep -qx "ExecStart=$prefix/bin/paylark-cli remind --notify" "$service" ||
  fail "the service does not start the installed paylark-cli: $(grep ExecStart "$service")"
grep -qx 'OnCalendar=\*-\*-\* 09:00:00' "$timer" || fail "the timer does not run at 09:00"
grep -qx 'Persistent=true' "$timer" || fail "the timer does not catch up missed runs"

mkdir -m 700 "$work/runtime"
if ! XDG_RUNTIME_DIR=$work/runtime systemd-analyze verify --user --man=no "$service" "$timer" \
  >"$work/verify.log" 2>&1; then
  fail "systemd-analyze verify failed"
fi
# Warnings (an unknown key, a bad value) do not change the exit code, but are faults all the same.
if [ -s "$work/verify.log" ]; then
  cat "$work/verify.log" >&2
  fail "systemd-analyze verify reported problems"
fi

[ "$failures" -eq 0 ]
