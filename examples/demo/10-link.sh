# Step: the command link finds a device that runs at another speed.
step "An emulated device at 38400 baud; the link is asked for 9600 and searches"
start_emulator --baud 38400
"$BIN/korvena-probe" 1 9600 20
stop_emulator
