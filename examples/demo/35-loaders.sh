# Step: a technician loads the compiled templates into the device with
# Sendrix, then new firmware with Brennix, which first restarts the device
# into its boot loader. The emulator leaves what it received in device/.
step "Sendrix loads the compiled templates into the emulated device"
mkdir -p device
if [ ! -e KORVENA.HTX ] && [ -x "$BIN/tekstor" ] && [ -e "$root/examples/templates/KORVENA.DTX" ]; then
  cp "$root/examples/templates/KORVENA.DTX" . && "$BIN/tekstor" KORVENA >/dev/null || true
fi
if [ -e KORVENA.HTX ]; then
  htx=KORVENA.HTX
else
  cp "$root/loaders/tests/data/sablona.htx" SABLONA.HTX
  htx=SABLONA.HTX
fi
start_emulator --dump-dir "$WORK/device"
# The name may be given in any case: Sendrix upper-cases it and finds the file.
"$BIN/sendrix" -c1 -h"$(echo "$htx" | tr 'A-Z' 'a-z')"
stop_emulator
cmp -s "$htx" device/htx.bin && echo "-- the device holds all $(stat -c %s "$htx") bytes of $htx, byte for byte"

step "Brennix restarts the device, finds a Mega1281 boot loader and loads korvena.fw"
cp "$root/loaders/tests/data/korvena.fw" .
start_emulator --processor mega1281 --dump-dir "$WORK/device"
"$BIN/brennix" -c1 -r
stop_emulator
cmp -s -n 3000 "$root/loaders/tests/data/mega1281.bin" device/firmware.bin &&
  echo "-- the boot loader received the decoded 3000-byte Mega1281 image, and $(( $(stat -c %s device/firmware.bin) - 3000 )) bytes of padding"
