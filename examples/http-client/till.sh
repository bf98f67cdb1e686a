#!/usr/bin/env bash
# A sale printed through korvena-service with curl alone, keeping the three
# rules that make it print exactly once:
#
#  1. One key per sale: made once, and stored with the sale before the first
#     request, so that a till that stops half-way still knows it.
#  2. Retry with the same key and the same body until the answer settles the
#     sale. `curl --retry` is not enough: it forgets the key when the till
#     stops, and it neither waits out a 202 nor tells 409 device-blocked from
#     a refusal.
#  3. Never a new key while the outcome is unknown: a pending sale is finished
#     before a new one, and 409 unknown keeps its key until a person settles it.
#
#   till.sh [--service URL] [--device COMn] [--token-file FILE] [--state FILE]
#           [--give-up-after SECONDS] [SALE.json]
#
# SALE.json is the receipt as the service takes it (mode, lines, payments).
# Without it the script only finishes a sale left pending. The token comes
# from --token-file (the token alone) or $KORVENA_TOKEN. Exit status: 0
# printed, 1 refused (nothing printed), 2 usage or setup, 3 gave up with the
# sale pending in the state file (the next run finishes it).
set -euo pipefail

service=http://127.0.0.1:8730 device=COM1 token_file="" give_up_after=""
state=korvena-till-sh.pending sale=""

say() { echo "till.sh: $*" >&2; }
usage() { say "$*"; sed -n '14,15s/^#  //p' "$0" >&2; exit 2; }
setup() { say "$*"; exit 2; }

while [ $# -gt 0 ]; do
  case "$1" in
    --service | --device | --token-file | --state | --give-up-after)
      [ $# -ge 2 ] || usage "$1 needs a value"
      option="${1#--}"
      printf -v "${option//-/_}" '%s' "$2"
      shift 2 ;;
    -h | --help) sed -n '2,21s/^# \{0,1\}//p' "$0"; exit 0 ;;
    -*) usage "unknown option $1" ;;
    *) [ -z "$sale" ] || usage "one sale at a time"; sale="$1"; shift ;;
  esac
done
[[ -z "$give_up_after" || "$give_up_after" =~ ^[0-9]+$ ]] ||
  usage "--give-up-after takes whole seconds"
[[ -z "$sale" || -r "$sale" ]] || usage "cannot read $sale"
[ -d "$(dirname "$state")" ] || setup "no folder for the state file $state"

if [ -n "$token_file" ]; then
  token="$(sed 's/#.*//' "$token_file" 2>/dev/null | awk 'NF { print $NF; exit }')" ||
    setup "cannot read $token_file"
else
  token="${KORVENA_TOKEN:-}"
fi
[ -n "$token" ] || setup "no token: give --token-file FILE or set KORVENA_TOKEN"
[[ "$token" =~ ^[!-~]+$ ]] || setup "the token must be printable ASCII without blanks"
[[ "$device" =~ ^[A-Za-z0-9]+$ ]] || usage "--device takes a name such as COM1"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# The token goes to curl in a file of this private folder, never as an argument.
printf 'Authorization: Bearer %s\n' "$token" >"$work/auth"

# Two runs on one state file could remove each other's pending sale.
if command -v flock >/dev/null; then
  exec 9>>"$state.lock"
  flock -n 9 || setup "another till run is using $state"
fi

deadline=""
[ -z "$give_up_after" ] || deadline=$((SECONDS + give_up_after))

# post URL BODY_FILE [KEY]: sets $code (000: no answer) and keeps the answer.
post() {
  local args=(-sS --max-time 40 -o "$work/answer" -D "$work/headers"
    -w '%{http_code}' -H "@$work/auth" -H 'Content-Type: application/json'
    --data-binary "@$2")
  [ $# -lt 3 ] || args+=(-H "Idempotency-Key: $3")
  : >"$work/answer"
  local status=0
  code="$(curl "${args[@]}" "$1" 2>"$work/curl.err")" || status=$?
  case "$status" in
    0) ;;
    1 | 2 | 3 | 26) say "curl cannot send: $(head -n 1 "$work/curl.err")"; exit 2 ;;
    *) code=000 ;;
  esac
}

# field NAME: the string NAME of the answer (one-line JSON), escapes undone.
field() {
  sed -nE 's/.*"'"$1"'": *"(([^"\\]|\\.)*)".*/\1/p' "$work/answer" |
    sed -e 's/\\r\\n/\n/g; s/\\n/\n/g; s/\\"/"/g; s/\\\//\//g; s/\\\\/\\/g'
}

why() {
  if [ "$code" = 000 ]; then
    echo "no answer ($(head -n 1 "$work/curl.err"))"
  elif [ "$code" = 202 ]; then
    echo "202: the receipt waits for the device"
  else
    local status
    status="$(sed -nE 's/.*"deviceStatus": *(-?[0-9]+).*/ (device status \1)/p' "$work/answer")"
    echo "$code $(field code): $(field message)$status"
  fi
}

retry_after() {
  local seconds
  seconds="$(sed -nE 's/^retry-after: *([0-9]+).*/\1/Ip' "$work/headers" 2>/dev/null)"
  echo "${seconds:-$1}"
}

# wait_or_give_up SECONDS: false when the wait would pass --give-up-after.
wait_or_give_up() {
  if [ -n "$deadline" ] && [ $((SECONDS + $1)) -gt "$deadline" ]; then
    return 1
  fi
  sleep "$1"
}

quote() {
  local pause=1
  while :; do
    post "$service/v1/devices/$device/receipts/quote" "$1"
    case "$code" in
      200) echo "Total $(field total), change $(field change)."; return 0 ;;
      401 | 403 | 404) say "the service refuses the till: $(why)"; return 2 ;;
      408 | 429) ;;
      4??) say "the sale is refused: $(why)"; return 1 ;;
    esac
    say "no total yet: $(why)"
    wait_or_give_up "$pause" || { say "gave up; nothing was sent or stored"; return 3; }
    pause=$((pause < 5 ? pause * 2 : 10))
  done
}

# finish KEY DEVICE BODY_FILE: sends the stored sale until its outcome is known.
finish() {
  local pause=1 wait told=""
  while :; do
    post "$service/v1/devices/$2/receipts" "$3" "$1"
    wait=$pause
    case "$code:$(field code)" in
      200:*)
        rm -f "$state"
        if grep -q '"printout"' "$work/answer"; then
          field printout
          echo "Printed: document $(sed -nE 's/.*"documentNumber": *([0-9]+).*/\1/p' "$work/answer")."
        else
          echo "Printed: sale $1, settled by a person; the paper is the printout."
        fi
        return 0 ;;
      202:*) wait="$(retry_after 1)" pause=1 ;;
      409:unknown)
        [ -n "$told" ] || say "sale $1: whether it printed is unknown; a person must" \
          "settle it (POST /v1/jobs/$1/resolution). Asking again with the same key."
        told=yes wait=30 ;;
      401:* | 403:* | 404:*)
        say "the service refuses the till: $(why); sale $1 stays pending in $state"
        return 2 ;;
      408:* | 429:* | 409:device-blocked) wait="$(retry_after "$pause")" ;;
      4??:*)
        rm -f "$state"
        say "sale $1 is refused: $(why)"
        if grep -q '"voided": *true' "$work/answer"; then
          say "the device voided the receipt it had begun; the paper shows it cancelled:"
          field printout
        fi
        return 1 ;;
    esac
    say "sale $1: $(why); the same key again in ${wait} s"
    if ! wait_or_give_up "$wait"; then
      say "gave up; sale $1 stays pending in $state, run again to finish it"
      return 3
    fi
    pause=$((pause < 5 ? pause * 2 : 10))
  done
}

status=0
if [ -s "$state" ]; then
  read -r key pending_device _ <"$state" || true
  [[ "$key" =~ ^[!-~]{1,64}$ && "$pending_device" =~ ^[A-Za-z0-9]+$ ]] ||
    setup "$state holds no sale this till knows; it is left as it is"
  tail -n +2 "$state" >"$work/pending.json"
  say "finishing sale $key left pending by an earlier run"
  finish "$key" "$pending_device" "$work/pending.json" || status=$?
  [ "$status" -le 1 ] || exit "$status"
elif [ -z "$sale" ]; then
  usage "no sale pending in $state and no SALE.json given"
fi
[ -n "$sale" ] || exit "$status"

# A copy: every retry must send the very body stored with the key.
cp "$sale" "$work/sale.json"
quote "$work/sale.json" || exit $?
key="$(uuidgen 2>/dev/null || cat /proc/sys/kernel/random/uuid)"
# Whole or not at all: the key and the body go in together, by a rename.
pending="$(mktemp "$state.XXXXXX")" || setup "cannot store the sale beside $state"
if ! { printf '%s %s\n' "$key" "$device" && cat "$work/sale.json"; } >"$pending" ||
  ! mv -f "$pending" "$state"; then
  rm -f "$pending"
  setup "cannot store the sale in $state; nothing was sent"
fi
finish "$key" "$device" "$work/sale.json" || exit $?
exit "$status"
