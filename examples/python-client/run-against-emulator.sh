#!/usr/bin/env bash
# Runs korvena_client.py against the emulated device: starts korvena-emu,
# puts copies of libkvorw32.so and libkorvena.so into a temporary folder with
# a KVORWXX.INI (Com=1), runs the client with KORVPORT_COM1 set, prints what
# the device printed and stops the emulator. Exits with the client's status:
# 0 only when every command answered 0.
#
#   examples/python-client/run-against-emulator.sh [BUILD_DIR]
#
# BUILD_DIR defaults to "build"; a relative one is taken from the repository
# root. It must hold bin/korvena-emu, lib/libkvorw32.so and lib/libkorvena.so.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/../.." && pwd)"
build="${1:-build}"
case "$build" in
  /*) ;;
  *) build="$root/$build" ;;
esac

emulator="$build/bin/korvena-emu"
for needed in "$emulator" "$build/lib/libkvorw32.so" "$build/lib/libkorvena.so"; do
  if [ ! -e "$needed" ]; then
    echo "run-against-emulator: $needed is missing (build the suite first)" >&2
    exit 2
  fi
done
if ! command -v python3 >/dev/null; then
  echo "run-against-emulator: python3 is not installed" >&2
  exit 2
fi

work="$(mktemp -d)"
emulator_pid=""
# shellcheck disable=SC2317  # run by the EXIT trap
cleanup() {
  if [ -n "$emulator_pid" ]; then
    kill "$emulator_pid" 2>/dev/null || true
    wait "$emulator_pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

# The emulator prints KORVPORT_COM1=/dev/pts/N at once and serves until stopped.
# Made before the emulator starts, so reading it cannot race its creation.
: >"$work/emulator.out"
"$emulator" --journal "$work/journal.txt" >"$work/emulator.out" 2>"$work/emulator.err" &
emulator_pid=$!
line=""
for _ in $(seq 1 100); do
  line="$(head -n 1 "$work/emulator.out")"
  [ -n "$line" ] && break
  if ! kill -0 "$emulator_pid" 2>/dev/null; then break; fi
  sleep 0.1
done
if [[ ! "$line" =~ ^KORVPORT_COM1=/.+ ]]; then
  echo "run-against-emulator: the emulator did not start" >&2
  cat "$work/emulator.err" >&2
  exit 1
fi
echo "emulator: $line"
export "${line?}"

# The library reads KVORWXX.INI from its own folder, and takes libkorvena.so
# from there first.
till="$work/till"
mkdir "$till"
cp "$build/lib/libkvorw32.so" "$build/lib/libkorvena.so" "$till/"
printf '[Setting]\r\nCom=1\r\nTimeout=100\r\nDispE=0\r\n' >"$till/KVORWXX.INI"

# Run from the work folder: KORVENA.DBG and KORVENA.LDX would land there.
status=0
(cd "$work" && python3 "$here/korvena_client.py" "$till/libkvorw32.so") || status=$?

echo "-- what the device printed (code page 852 bytes shown as ?):"
LC_ALL=C tr '\200-\377' '?' <"$work/journal.txt" | sed 's/^/   | /'

if [ "$status" -ne 0 ]; then
  echo "run-against-emulator: the client failed (exit status $status)" >&2
  cat "$work/emulator.err" >&2
fi
exit "$status"
