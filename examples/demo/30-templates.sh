# Step: a template author compiles the sample receipt templates into the HTX
# file the device loads, looks at what it became, and meets a diagnostic.
step "Tekstor compiles the sample receipt templates into KORVENA.HTX"
cp "$root/examples/templates/KORVENA.DTX" .
"$BIN/tekstor" KORVENA
ls -l KORVENA.HTX
"$BIN/htxdump" KORVENA >KORVENA.dump
head -n 14 KORVENA.dump
echo "   ..."
tail -n 3 KORVENA.dump

step "A mistake in a template: the line, a caret under it, and no HTX file written"
printf 'L, DP_table\r\n#const WIDTH = 32\r\nT, "Width " (WIDTH + )\r\nR\r\n' >BROKEN.DTX
"$BIN/tekstor" BROKEN
[ -e BROKEN.HTX ] && echo "BROKEN.HTX was written" || echo "(no BROKEN.HTX written)"
