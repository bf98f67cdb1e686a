# Step: a till prints a receipt through the driver library, which keeps the
# device's LDX data of the receipt in files.
step "A point-of-sale client prints a receipt through KvorW32 (libkvorw32.so)"
start_emulator
mkdir -p till ldx
cp "$LIB/libkvorw32.so" "$LIB/libkorvena.so" till/
printf '[Setting]\r\nCom=1\r\nLdx=1\r\nFileDir=ldx\r\nTimeout=100\r\n' >till/KVORWXX.INI
echo "till/KVORWXX.INI, beside the library:"
tr -d '\r' <till/KVORWXX.INI | sed 's/^/   | /'
"$BIN/korvena-pos-client" "$PWD/till/libkvorw32.so"
stop_emulator
show_journal
echo "-- the receipt's LDX data the driver kept: KORVENA.LDX and the daily file"
ls ldx
tr -d '\r' <KORVENA.LDX | sed 's/^/   | /'
