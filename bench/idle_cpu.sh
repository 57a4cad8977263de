#!/usr/bin/env bash
# Measures what an idle game costs: the game window on a virtual display with
# a game on screen, nothing moving and the pointer still. Prints the share of
# one core the whole program used over the measuring window (user + system
# time of all its threads, from /proc).
#
#   bench/idle_cpu.sh [BUILD_BIN_DIR] [SECONDS]
#
# Needs xvfb (xvfb-run); BUILD_BIN_DIR defaults to build/default/bin.
set -euo pipefail
bin=${1:-build/default/bin}
seconds=${2:-20}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$bin/quorvane-cli" new --seed 11 --size small --data "$bin/data" -o "$work/idle.zvq" >/dev/null

cat >"$work/run.sh" <<INNER
set -euo pipefail
HOME="$work" XDG_CONFIG_HOME="$work/config" "$bin/quorvane" --data "$bin/data" "$work/idle.zvq" &
pid=\$!
# Settle: the window shown, the first frames drawn.
sleep 3
ticks() { awk '{print \$14 + \$15}' /proc/\$pid/stat; }
hz=\$(getconf CLK_TCK)
t0=\$(ticks); s0=\$(date +%s.%N)
sleep $seconds
t1=\$(ticks); s1=\$(date +%s.%N)
kill \$pid; wait \$pid 2>/dev/null || true
awk -v t0="\$t0" -v t1="\$t1" -v s0="\$s0" -v s1="\$s1" -v hz="\$hz" \
  'BEGIN { printf "idle game: %.2f %% of one core over %.1f s\n", 100 * (t1 - t0) / hz / (s1 - s0), s1 - s0 }'
INNER
xvfb-run -a -s "-screen 0 1024x768x24" bash "$work/run.sh"
