#!/usr/bin/env bash
# Stress run of the simulated broker server (never run by CI): builds orbsim
# and orbsim_stress in BUILD_DIR (default build-sim), starts orbsim on a
# free loopback port and puts it through 1,000 service logons at once,
# large and over-large bodies, drip-feeding clients, more connections than
# it serves at once, and (in a second orbsim under "ulimit -n 64") a full
# descriptor table. After each phase a plain request must still be
# answered; at the end orbsim's peak memory (VmHWM) must stay under
# MEM_BOUND_MB (default 256). Prints the figures; exits non-zero when a
# phase fails. Only 127.0.0.1 is ever contacted.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build-sim}
bound_mb=${MEM_BOUND_MB:-256}
logons=${LOGONS:-1000}

if [ ! -f "$build/build.ninja" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-Debug} >/dev/null
fi
cmake --build "$build" --target orbsim orbsim_stress >/dev/null
sim="$build/tools/simulator/orbsim"
stress="$build/tools/simulator/orbsim_stress"
work=$(mktemp -d)
pids=()
cleanup() {
  for pid in ${pids[@]+"${pids[@]}"}; do kill "$pid" 2>/dev/null || true; done
  for pid in ${pids[@]+"${pids[@]}"}; do wait "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT
# The load program opens over a thousand sockets at once.
ulimit -n 8192 2>/dev/null || ulimit -n 4096

# Starts orbsim with its output in $work/$1.log (a shell prefix such as
# "ulimit -n 64;" in $2); sets started_pid and started_port.
start_sim() {
  local name=$1 prefix=${2:-}
  bash -c "$prefix exec \"$sim\" 0" >"$work/$name.log" 2>&1 &
  started_pid=$!
  pids+=("$started_pid")
  for _ in $(seq 100); do
    started_port=$(sed -n 's/^orbsim listening on 127\.0\.0\.1:\([0-9]*\)$/\1/p' "$work/$name.log")
    [ -n "$started_port" ] && return 0
    kill -0 "$started_pid" 2>/dev/null || break
    sleep 0.1
  done
  echo "orbsim did not start:" >&2
  cat "$work/$name.log" >&2
  exit 1
}

# User plus system CPU of a process, in clock ticks.
cpu_ticks() { sed 's/^.*) //' "/proc/$1/stat" | awk '{print $12 + $13}'; }
status_kb() { awk -v key="$2:" '$1 == key {print $2}' "/proc/$1/status"; }
rss() { echo "VmRSS $(( $(status_kb "$1" VmRSS) / 1024 )) MiB, VmHWM $(( $(status_kb "$1" VmHWM) / 1024 )) MiB"; }

# Runs "orbsim_stress hold N S" against a port and reports the server's CPU
# while the connections are held.
hold_and_measure() {
  local port=$1 pid=$2 n=$3 seconds=$4
  "$stress" "$port" hold "$n" "$seconds" >"$work/hold.out" &
  local holder=$!
  for _ in $(seq 100); do grep -q '^held:' "$work/hold.out" && break; sleep 0.1; done
  local before after
  before=$(cpu_ticks "$pid")
  sleep $((seconds - 1))
  after=$(cpu_ticks "$pid")
  wait "$holder"
  echo "$(grep '^held:' "$work/hold.out"); orbsim used $((after - before)) CPU ticks ($(getconf CLK_TCK)/s) in $((seconds - 1)) s"
}

fail=0
phase() {
  echo "== $1"
  shift
  if ! "$@"; then fail=1; fi
}

start_sim main
pid=$started_pid port=$started_port
echo "orbsim pid $pid on port $port: $(rss "$pid")"

phase "$logons service logons at once" "$stress" "$port" logons "$logons"
phase "then a plain request" "$stress" "$port" check
echo "   $(rss "$pid")"

phase "large bodies, 300 at once (beyond the 256 served)" "$stress" "$port" large 300
phase "then a plain request" "$stress" "$port" check
echo "   $(rss "$pid")"

echo "== 50 drip-feeding clients, a plain request answered meanwhile"
"$stress" "$port" drip 50 >"$work/drip.out" &
dripper=$!
sleep 1
phase "plain request during the drip" "$stress" "$port" check
wait "$dripper" || fail=1
cat "$work/drip.out"
echo "   $(rss "$pid")"

echo "== 400 silent connections, more than the 256 served at once"
hold_and_measure "$port" "$pid" 400 4
phase "then a plain request" "$stress" "$port" check

start_sim exhausted "ulimit -n 64;"
echo "== a second orbsim under ulimit -n 64 (pid $started_pid), 200 silent connections"
hold_and_measure "$started_port" "$started_pid" 200 4
phase "then a plain request" "$stress" "$started_port" check
kill -0 "$started_pid" || { echo "the exhausted orbsim died"; fail=1; }

hwm_kb=$(status_kb "$pid" VmHWM)
echo "== memory: $(rss "$pid"); bound ${bound_mb} MiB"
if [ "$hwm_kb" -gt $((bound_mb * 1024)) ]; then
  echo "peak memory above the bound"
  fail=1
fi
kill -0 "$pid" || { echo "orbsim died"; fail=1; }
if grep -qiE '(trdpwd|pwd|newpwd|oldpwd|authdata)=[^*]' "$work/main.log"; then
  echo "a password value reached orbsim's output"
  fail=1
fi
echo "orbsim printed $(wc -l <"$work/main.log") lines"
[ "$fail" = 0 ] && echo "stress: passed" || echo "stress: FAILED"
exit "$fail"
