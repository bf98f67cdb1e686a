#!/usr/bin/env bash
# Runs till.py and till.sh against korvena-service and the emulated device and
# checks, by the headings in the device's journal, that every sale prints
# exactly once: plain sales, refused ones, a sale whose first request finds
# no service, one waiting for a paused device across a restart of the
# service, one whose till was killed after sending it, and one meeting a
# device blocked until a person settles a report of unknown outcome.
#
#   examples/http-client/run-against-service.sh [BUILD_DIR]
#
# BUILD_DIR defaults to "build"; a relative one is taken from the repository
# root. It must hold bin/korvena-emu and bin/korvena-service. Exits 0 only
# when every check passes.

# shellcheck disable=SC2317  # the EXIT trap and check call functions indirectly
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/../.." && pwd)"
build="${1:-build}"
case "$build" in
  /*) ;;
  *) build="$root/$build" ;;
esac
emulator="$build/bin/korvena-emu"
service="$build/bin/korvena-service"
for needed in "$emulator" "$service"; do
  if [ ! -x "$needed" ]; then
    echo "run-against-service: $needed is missing (build the suite first)" >&2
    exit 2
  fi
done
for tool in python3 curl; do
  command -v "$tool" >/dev/null || { echo "run-against-service: $tool is not installed" >&2; exit 2; }
done

work="$(mktemp -d)"
emulator_pid="" service_pid="" till_pid="" sh_pid=""
cleanup() {
  for pid in "$till_pid" "$sh_pid" "$service_pid" "$emulator_pid"; do
    if [ -n "$pid" ]; then
      kill "$pid" 2>/dev/null || true
      wait "$pid" 2>/dev/null || true
    fi
  done
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

port="$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')"
url="http://127.0.0.1:$port"
umask 077
printf 'till till-secret\nservice service-secret\n' >"$work/tokens"
printf 'till till-secret\n' >"$work/till.token"

: >"$work/emulator.out"
# The first running report goes unanswered: its job ends unknown and blocks
# the device until it is resolved.
"$emulator" --journal "$work/journal.txt" --mute-after 1 --fault-frames DX \
  >"$work/emulator.out" 2>"$work/emulator.err" &
emulator_pid=$!
line=""
for _ in $(seq 1 100); do
  line="$(head -n 1 "$work/emulator.out")"
  [ -n "$line" ] && break
  sleep 0.1
done
if [[ ! "$line" =~ ^KORVPORT_COM1=/.+ ]]; then
  echo "run-against-service: the emulator did not start" >&2
  cat "$work/emulator.err" >&2
  exit 1
fi
export "${line?}"

# Short limits: a paused device answers 202, a silent one is given up, in a second.
start_service() {
  "$service" --listen "127.0.0.1:$port" --device COM1 --journal "$work/service.db" \
    --tokens "$work/tokens" --wait-limit 1000 --answer-limit 1000 >>"$work/service.log" 2>&1 &
  service_pid=$!
  wait_for "the device ready" api till GET /v1/devices '"state":"ready"'
}
stop_service() {
  kill "$service_pid"
  wait "$service_pid" || true
  service_pid=""
}

# api ROLE METHOD PATH [PATTERN [BODY [KEY]]]: true when the answer holds PATTERN.
api() {
  local args=(-s --max-time 5 -X "$2" -H "Authorization: Bearer $1-secret")
  [ -z "${5:-}" ] || args+=(-H 'Content-Type: application/json' --data-binary "$5")
  [ -z "${6:-}" ] || args+=(-H "Idempotency-Key: $6")
  curl "${args[@]}" "$url$3" | grep -qF -- "${4:-}"
}
# wait_for WHAT COMMAND...: up to 10 s; the run cannot go on without it.
wait_for() {
  local what="$1"
  shift
  for _ in $(seq 1 100); do
    "$@" && return 0
    sleep 0.1
  done
  checks=$((checks + 1)) failed=$((failed + 1))
  echo "FAIL  timed out waiting for $what"
  summary
}

# The journal is in code page 852; the sales are told apart by their texts.
journal() { python3 -c 'import sys; sys.stdout.write(open(sys.argv[1], encoding="cp852").read())' "$work/journal.txt"; }
receipts() { journal | grep -c 'POKLADNICNY DOKLAD' || true; }
times_printed() { journal | grep -cF -- "$1" || true; }

equal() { [ "$1" = "$2" ]; }
absent() { [ ! -e "$1" ]; }
contains() { grep -qF -- "$2" "$1"; }

checks=0 failed=0
summary() {
  echo "$checks checks, $failed failed; the device printed $(receipts) receipts"
  if [ "$failed" -ne 0 ]; then
    echo "-- service log:"
    sed 's/^/   | /' "$work/service.log"
    exit 1
  fi
  exit 0
}
check() {  # NAME OUTPUT_FILE CONDITION...
  local name="$1" output="$2"
  shift 2
  checks=$((checks + 1))
  if "$@"; then
    echo "ok    $name"
  else
    failed=$((failed + 1))
    echo "FAIL  $name ($*)"
    [ -z "$output" ] || sed 's/^/      | /' "$output"
  fi
}

# Commands, not functions: "&" then gives the till's own process id to kill.
till_py=(python3 "$here/till.py" --service "$url" --token-file "$work/till.token")
till_sh=(env KORVENA_TOKEN=till-secret "$here/till.sh" --service "$url")
sale_json() {  # TEXT CASH: a sale of one item for till.sh
  printf '{"mode": "A", "lines": [{"type": "item", "text": "%s", "quantity": "1.000",' "$1"
  printf ' "unitPrice": "1.00", "vat": "B"}], "payments": [{"type": "cash", "amount": "%s"}]}\n' "$2"
}

start_service
echo "service: $url, device $KORVPORT_COM1"

# --- sales run straight through: exit status, receipts printed, the marker's count
n=0
while IFS='|' read -r name want_status want_printed marker till args; do
  n=$((n + 1))
  sale_json "$marker" 5.00 >"$work/sale$n.json"
  before="$(receipts)"
  eval "set -- $args"  # the table's quoting, and $work and $n in it
  if [ "$till" = py ]; then command=("${till_py[@]}"); else command=("${till_sh[@]}"); fi
  status=0
  "${command[@]}" --state "$work/state$n" "$@" >"$work/out$n" 2>&1 || status=$?
  check "$name: exit status $want_status" "$work/out$n" equal "$status" "$want_status"
  check "$name: $want_printed receipt(s)" "$work/out$n" equal "$(($(receipts) - before))" "$want_printed"
  check "$name: marker printed $want_printed time(s)" "" equal "$(times_printed "$marker")" "$want_printed"
  check "$name: nothing left pending" "" absent "$work/state$n"
done <<'TABLE'
till.py cash, Slovak texts|0|1|Ďatelinový med 250 g|py|--item "Rožok:4.000:0.12:B" --item "Ďatelinový med 250 g:1:3.49:B" --cash 10
till.py card|0|1|Čučoriedky 125 g|py|--item "Čučoriedky 125 g:2:1.99:B" --card
till.sh sale file|0|1|Šošovica 500 g|sh|"$work/sale$n.json"
till.py text outside code page 852|1|0|Káva → so sebou|py|--item "Káva → so sebou:1:1.20:B" --cash 5
till.sh text outside code page 852|1|0|Čaj €|sh|"$work/sale$n.json"
till.py cash short of the total|1|0|Syr údený|py|--item "Syr údený:1:4.00:B" --cash 1
till.py malformed item|2|0|Maslo|py|--item "Maslo:1:B" --cash 5
TABLE
check "till.py refusal names the character" "$work/out4" contains "$work/out4" '"→"'
check "till.sh refusal names the character" "$work/out5" contains "$work/out5" '"€"'

# --- a stored sale whose first request finds no service: the same key, printed once
stop_service
key_py="till-py-$$-first" key_sh="till-sh-$$-first"
python3 - "$work/first.py.state" "$key_py" <<'END'
import json, sys
body = {"mode": "A", "payments": [{"type": "cash", "amount": "5.00"}],
        "lines": [{"type": "item", "text": "Pečivo tmavé", "quantity": "2.000", "unitPrice": "0.35", "vat": "B"}]}
json.dump({"key": sys.argv[2], "device": "COM1", "body": body}, open(sys.argv[1], "w", encoding="utf-8"))
END
{ echo "$key_sh COM1"; sale_json "Hrozienka žlté" 5.00; } >"$work/first.sh.state"
cp "$work/first.py.state" "$work/first.py.before"

status=0
"${till_py[@]}" --state "$work/first.py.state" --give-up-after 1 >"$work/out.giveup" 2>&1 || status=$?
check "till.py gives up without a service: exit 3" "$work/out.giveup" equal "$status" 3
check "till.py gives up keeping the sale as stored" "" cmp -s "$work/first.py.state" "$work/first.py.before"

before="$(receipts)"
"${till_py[@]}" --state "$work/first.py.state" >"$work/out.first.py" 2>&1 &
till_pid=$!
"${till_sh[@]}" --state "$work/first.sh.state" >"$work/out.first.sh" 2>&1 &
sh_pid=$!
sleep 1.5
start_service
status=0; wait "$till_pid" || status=$?; till_pid=""
check "till.py, no service at first: exit 0" "$work/out.first.py" equal "$status" 0
status=0; wait "$sh_pid" || status=$?; sh_pid=""
check "till.sh, no service at first: exit 0" "$work/out.first.sh" equal "$status" 0
check "till.py retried after a refused connection" "$work/out.first.py" contains "$work/out.first.py" "connection refused"
check "till.sh retried after a refused connection" "$work/out.first.sh" contains "$work/out.first.sh" "no answer"
check "both stored sales printed, once each" "" equal "$(($(receipts) - before))" 2
check "till.py's sale printed under its stored key" "" api till GET "/v1/jobs/$key_py" '"state":"done"'
check "till.sh's sale printed under its stored key" "" api till GET "/v1/jobs/$key_sh" '"state":"done"'
check "the stored sales are no longer pending" "" absent "$work/first.py.state"

# --- till.sh waits out a paused device (202) and a restart of the service
check "the device paused" "" api service POST /v1/devices/COM1/pause '"state":"paused"'
before="$(receipts)"
sale_json "Jablká červené" 5.00 >"$work/paused.json"
"${till_sh[@]}" --state "$work/paused.state" "$work/paused.json" >"$work/out.paused" 2>&1 &
till_pid=$!
wait_for "till.sh's sale stored" test -s "$work/paused.state"
read -r key _ <"$work/paused.state"
wait_for "the sale accepted" api till GET "/v1/jobs/$key" '"state":"accepted"'
sleep 1.2  # at least one 202
stop_service
sleep 1    # at least one refused connection
start_service
status=0; wait "$till_pid" || status=$?; till_pid=""
check "till.sh across 202 and a restart: exit 0" "$work/out.paused" equal "$status" 0
check "till.sh saw the receipt wait for the device" "$work/out.paused" contains "$work/out.paused" "202"
check "till.sh's waiting sale printed once" "$work/out.paused" equal "$(($(receipts) - before))" 1

# --- a till killed after sending: the next run finishes that sale, then the new one
check "the device paused" "" api service POST /v1/devices/COM1/pause '"state":"paused"'
before="$(receipts)"
"${till_py[@]}" --state "$work/killed.state" --item "Hruška Viliamka:3:0.40:B" --cash 5 >"$work/out.killed" 2>&1 &
till_pid=$!
wait_for "till.py's sale stored" test -s "$work/killed.state"
key="$(python3 -c 'import json, sys; print(json.load(open(sys.argv[1]))["key"])' "$work/killed.state")"
wait_for "the sale accepted" api till GET "/v1/jobs/$key" '"state":"accepted"'
kill -KILL "$till_pid"
wait "$till_pid" 2>/dev/null || true
till_pid=""
check "the killed till left its sale pending" "" test -s "$work/killed.state"
check "the device resumed" "" api service POST /v1/devices/COM1/resume '"id":"COM1"'
wait_for "the killed till's sale printed" api till GET "/v1/jobs/$key" '"state":"done"'
status=0
"${till_py[@]}" --state "$work/killed.state" --item "Paradajky:0.550:2.10:B" --card >"$work/out.next" 2>&1 || status=$?
check "the next run: exit 0" "$work/out.next" equal "$status" 0
check "the next run finished the stored key first" "$work/out.next" contains "$work/out.next" "finishing sale $key"
check "the next run showed the killed sale's printout" "$work/out.next" contains "$work/out.next" "Hruška Viliamka"
check "the killed till's sale printed once" "" equal "$(times_printed "Hruška Viliamka")" 1
check "two receipts in all: the killed sale and the new one" "$work/out.next" equal "$(($(receipts) - before))" 2
check "nothing left pending" "" absent "$work/killed.state"

# --- a device blocked by a job whose outcome is unknown: the till keeps its key
report="report-$$"
check "a running report sent" "" api service POST /v1/devices/COM1/reports "" '{"type": "running"}' "$report"
wait_for "the report's outcome unknown" api service GET "/v1/jobs/$report" '"state":"unknown"'
before="$(receipts)"
"${till_py[@]}" --state "$work/blocked.state" --item "Med lesný 500 g:1:5.90:B" --cash 10 \
  >"$work/out.blocked" 2>&1 &
till_pid=$!
wait_for "the till to meet the blocked device" contains "$work/out.blocked" "device-blocked"
check "nothing printed while the device is blocked" "" equal "$(receipts)" "$before"
check "the report resolved as printed" "" \
  api service POST "/v1/jobs/$report/resolution" '"state":"done"' '{"printed": true}'
status=0; wait "$till_pid" || status=$?; till_pid=""
check "till.py after the resolution: exit 0" "$work/out.blocked" equal "$status" 0
check "the blocked sale printed once" "$work/out.blocked" equal "$(times_printed "Med lesný 500 g")" 1

summary
