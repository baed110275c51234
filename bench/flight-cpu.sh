#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# The flight window's CPU cost on a virtual X display: Xvfb and openbox, the real windows
# (zk_flight_cpu: "Настройки" with 500 particles, "Графически", "Ударная волна" checked), the
# process CPU time (utime + stime from /proc/<pid>/stat) over 10 s once the animation runs, as a
# percentage of one core; then two screenshots of the flight window 0.5 s apart, which must differ.
#
#   bench/flight-cpu.sh [BUILD_DIR]        (default: build; needs xvfb, openbox, imagemagick,
#                                           xdotool)
# Exit status 0 when the figure is printed and the picture moved, 1 otherwise.
set -eu

BUILD=${1:-build}
PARTICLES=${PARTICLES:-500} # 10..500
SPEED=${SPEED:--1}         # the speed bar 0..100; -1 leaves it at 50
PROGRAM=$BUILD/zk_flight_cpu
MEASURE_SECONDS=10
SETTLE_SECONDS=3 # start-up, the settings window and the first frames of the flight window

[ -x "$PROGRAM" ] || { echo "no $PROGRAM: build the target zk_flight_cpu first" >&2; exit 1; }
for tool in Xvfb openbox xdotool import compare; do
    command -v $tool >/dev/null || { echo "missing $tool" >&2; exit 1; }
done

WORK=$(mktemp -d)
XVFB_PID= WM_PID= APP_PID=
cleanup() {
    for pid in $APP_PID $WM_PID $XVFB_PID; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$WORK"
}
trap cleanup EXIT
trap "exit 1" INT TERM HUP PIPE

# A display number nobody uses.
n=90
while [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ]; do n=$((n + 1)); done
export DISPLAY=:$n
Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp >"$WORK/xvfb.log" 2>&1 &
XVFB_PID=$!
i=0
until xdotool getdisplaygeometry >/dev/null 2>&1; do
    i=$((i + 1)); [ $i -lt 100 ] || { echo "Xvfb did not start" >&2; exit 1; }
    sleep 0.1
done
openbox >"$WORK/openbox.log" 2>&1 &
WM_PID=$!
sleep 1

# The program runs a little longer than the measurement and ends by itself.
"$PROGRAM" $((SETTLE_SECONDS + MEASURE_SECONDS + 4)) "$PARTICLES" "$SPEED" >"$WORK/app.log" 2>&1 &
APP_PID=$!
sleep $SETTLE_SECONDS

ticks_per_second=$(getconf CLK_TCK)
# Process CPU time in clock ticks: fields 14 (utime) and 15 (stime) of /proc/<pid>/stat, counted
# after the command name in parentheses, which may hold blanks.
cpu_ticks() {
    sed 's/^.*) //' /proc/$APP_PID/stat | awk '{ print $12 + $13 }'
}
now() { date +%s.%N; }

cpu0=$(cpu_ticks); t0=$(now)
sleep $MEASURE_SECONDS
cpu1=$(cpu_ticks); t1=$(now)
percent=$(awk -v c0="$cpu0" -v c1="$cpu1" -v t0="$t0" -v t1="$t1" -v hz="$ticks_per_second" \
    'BEGIN { printf "%.1f", 100 * (c1 - c0) / hz / (t1 - t0) }')
echo "flight window, $PARTICLES particles, shock shown, speed ${SPEED#-1}: ${percent} % of one core over $(awk -v a="$t0" -v b="$t1" 'BEGIN { printf "%.1f", b - a }') s"

window=$(xdotool search --name 'Полёт индивидуальных частиц' | head -n 1)
[ -n "$window" ] || { echo "the flight window is not open" >&2; exit 1; }
import -window "$window" "$WORK/a.png"
sleep 0.5
import -window "$window" "$WORK/b.png"
changed=$(compare -metric AE "$WORK/a.png" "$WORK/b.png" null: 2>&1 || true)
echo "pixels changed within 0.5 s: $changed"
case $changed in
'' | 0 | *[!0-9]*) echo "the picture did not move" >&2; exit 1 ;;
esac
