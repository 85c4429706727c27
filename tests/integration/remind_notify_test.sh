#!/usr/bin/env bash
# paylark-cli remind --notify against a private session bus and our own notification server:
# what is sent (summary, body, hints, actions), what each answer does ("paid" on disk, "snooze"
# silences the next run, "open" starts the window on the due), and the failures without a bus
# or without a server.
# Usage: remind_notify_test.sh PAYLARK_CLI NOTIFICATION_SERVER BUS_CONFIG
set -uo pipefail
cli=$1 server=$2 bus_config=$3

if ! command -v dbus-daemon >/dev/null; then
  echo "SKIP: dbus-daemon is not installed (Debian package dbus-daemon)"
  exit 77
fi

work=$(mktemp -d)
bus_pid="" server_pid=""
cleanup() {
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null
  [ -n "$bus_pid" ] && kill "$bus_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

export LC_ALL=en_US.UTF-8 XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
unset DISPLAY WAYLAND_DISPLAY
workdir=$work/w
mkdir -p "$workdir"
calls=$work/calls.log answer=$work/answer
touch "$calls" "$answer"

# Runs paylark-cli on the working directory; leaves the exit code in $code, the output in
# $work/out and $work/err.
cli_run() {
  "$cli" --dir "$workdir" "$@" >"$work/out" 2>"$work/err"
  code=$?
}
expect_code() {
  [ "$code" -eq "$1" ] || fail "$2: exit code $code, expected $1; stderr: $(cat "$work/err")"
}
# remind --notify with the server answering $1; it must succeed.
answered() {
  echo "$1" >"$answer"
  cli_run remind --notify --wait 60
  expect_code 0 "answered $1"
}
last_call() { tail -n 1 "$calls"; }
call_count() { wc -l <"$calls"; }

# The private bus: --fork returns once the daemon listens, after printing its address and pid.
{ read -r address && read -r bus_pid; } < <(dbus-daemon --config-file="$bus_config" --fork \
  --print-address=1 --print-pid=1)
[ -n "$address" ] && [ -n "$bus_pid" ] || { echo "FAIL: dbus-daemon did not start" >&2; exit 1; }
export DBUS_SESSION_BUS_ADDRESS=$address

# With the bus but no server yet: a message and exit 1.
cli_run add --title Rent --pay-to Landlord --due 2020-01-01 --amount 850
rent=$(cat "$work/out")
cli_run remind --notify --wait 0
expect_code 1 "without a notification server"
grep -q "No notification service answered" "$work/err" || fail "no-server message: $(cat "$work/err")"

mkfifo "$work/ready"
exec {ready_fd}<>"$work/ready"
"$server" "$calls" "$answer" >"$work/ready" 2>"$work/server.err" &
server_pid=$!
read -r -t 30 -u "$ready_fd" line
[ "${line:-}" = ready ] || { echo "FAIL: notification server: $(cat "$work/server.err")" >&2; exit 1; }

# One overdue due: its own summary, critical urgency, and "Mark paid" among the actions.
cli_run remind --notify --wait 0
expect_code 0 "one overdue due"
expected='{"actions":["open","Open Paylark","snooze","Tomorrow","paid","Mark paid"],"app":"Paylark","body":"Rent – $850.00 – overdue","hintTypes":{"desktop-entry":"QString","urgency":"uchar"},"hints":{"desktop-entry":"org.paylark.Paylark","urgency":2},"icon":"org.paylark.Paylark","replaces":0,"summary":"Rent is overdue","timeout":-1}'
[ "$(last_call)" = "$expected" ] || fail "one overdue due sent $(last_call)"

# "paid" marks the due paid on disk, through the store's change marker.
rm -f "$workdir/Paylark Files/preferences.alm"
answered paid
cli_run show "$rent" --json
grep -q '"paid": 1' "$work/out" || fail "the due is not paid after \"paid\": $(cat "$work/out")"
[ -f "$workdir/Paylark Files/preferences.alm" ] || fail "\"paid\" did not write the change marker"
# The day's notification is replaced, not stacked, and closed once its action was taken.
last_call | grep -q '"replaces":1,' || fail "the second notification did not replace the first"
[ "$(cat "$calls.closed" 2>/dev/null)" = 2 ] || fail "the answered notification was not closed"
ls -a "$workdir/Paylark Files" | grep -q '^\.paylark-' && fail "a temporary file was left behind"

# Two dues ahead: the count as summary, one line each, normal urgency, no "Mark paid".
tomorrow=$(date -d tomorrow +%F) in_two_days=$(date -d '2 days' +%F)
cli_run add --title Water --due "$tomorrow 10:00" --amount 12.5
water=$(cat "$work/out")
cli_run add --title Gas --due "$in_two_days 23:59" --amount 30
gas=$(cat "$work/out")
cli_run add --title Later --due "$(date -d '4 days' +%F)"
printf '%s\t%s\tin 1 day\tWater\tSomeone\t$12.50\n%s\t%s\tin 2 days\tGas\tSomeone\t$30.00\n' \
  "$water" "$tomorrow 10:00" "$gas" "$in_two_days 23:59" >"$work/expected"
cli_run remind
expect_code 0 "plain remind"
cmp -s "$work/out" "$work/expected" || fail "plain remind printed: $(cat "$work/out")"
cli_run remind --days 4 --json
grep -q '^{"days": 4, "dues": \[{"recordId": "'"$water"'", .*"when": "in 1 day"}, .*"when": "in 4 days"}\]}$' \
  "$work/out" || fail "remind --json printed: $(cat "$work/out")"

answered close
expected='{"actions":["open","Open Paylark","snooze","Tomorrow"],"app":"Paylark","body":"Water – $12.50 – in 1 day\nGas – $30.00 – in 2 days","hintTypes":{"desktop-entry":"QString","urgency":"uchar"},"hints":{"desktop-entry":"org.paylark.Paylark","urgency":1},"icon":"org.paylark.Paylark","replaces":2,"summary":"2 dues need paying","timeout":-1}'
[ "$(last_call)" = "$expected" ] || fail "two dues sent $(last_call)"

# "open" starts the window beside paylark-cli on the first due.
mkdir "$work/bin"
cp "$cli" "$work/bin/paylark-cli"
# With the modules it loads from beside itself (the notification comes through one).
for module in "$(dirname "$cli")"/paylark-*.so; do
  [ -e "$module" ] && ln -s "$module" "$work/bin/"
done
mkfifo "$work/opened"
printf '#!/bin/sh\nprintf "%%s\\n" "$*" >"%s"\n' "$work/opened" >"$work/bin/paylark"
chmod +x "$work/bin/paylark"
echo open >"$answer"
"$work/bin/paylark-cli" --dir "$workdir" remind --notify --wait 60 >"$work/out" 2>"$work/err" &
# Opened read-write, the pipe does not block until a writer comes, so the read's timeout holds.
exec {opened_fd}<>"$work/opened"
read -r -t 30 -u "$opened_fd" opened
wait $! || fail "answered open: $(cat "$work/err")"
[ "${opened:-}" = "--show-due $water" ] || fail "\"open\" started paylark with: ${opened:-nothing}"

# "snooze" keeps every run silent until tomorrow.
answered snooze
grep -q "^SnoozedUntil=${tomorrow}T00:00:00$" "$XDG_CONFIG_HOME/Velmora/Paylark.conf" ||
  fail "snooze stored: $(cat "$XDG_CONFIG_HOME/Velmora/Paylark.conf")"
before=$(call_count)
echo "" >"$answer"
cli_run remind --notify --wait 0
expect_code 0 "snoozed run"
[ "$(call_count)" -eq "$before" ] || fail "a snoozed run notified: $(last_call)"

# A balance that the coming dues take below the warning level: the notification says when.
rm -f "$XDG_CONFIG_HOME/Velmora/Paylark.conf"
cli_run balance 20
expect_code 0 "balance entered"
answered close
body=$(printf '"body":"Water – $12.50 – in 1 day\\nGas – $30.00 – in 2 days\\nBalance below $0.00 on %s"' \
  "$(date -d '2 days' '+%-d %b %Y')")
last_call | grep -qF "$body" || fail "the low balance was not told: $(last_call)"

# No bus at all: a message and exit 1.
rm -f "$XDG_CONFIG_HOME/Velmora/Paylark.conf"
DBUS_SESSION_BUS_ADDRESS=unix:path=$work/no-bus cli_run remind --notify --wait 0
expect_code 1 "without a session bus"
grep -q "No desktop session bus was found" "$work/err" || fail "no-bus message: $(cat "$work/err")"

[ "$failures" -eq 0 ] || exit 1
echo "remind --notify: all checks passed"
