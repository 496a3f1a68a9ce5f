#!/usr/bin/env bash
# The main job: on a fresh machine, build Stratalog, start the console simulator, make a
# demo program directory with one station on the simulated console, download it with -d
# and show what was logged and stored. A second download finds nothing new and says so.
#
#   scripts/main-job.sh            # demo directory: build/demo (made anew)
#   DEMO_DIR=/tmp/wx scripts/main-job.sh
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DSTRATALOG_TESTS=OFF \
  -DSTRATALOG_BENCH=OFF >/dev/null
cmake --build build/release --target stratalog stratalog-sim -- -j2
bin="$root/build/release"

demo=${DEMO_DIR:-$root/build/demo}
rm -rf "$demo"
mkdir -p "$demo"
cd "$demo"

# The simulated console: a pseudo-terminal whose path the simulator writes to a file.
"$bin/stratalog-sim" --days 2 --path-file "$demo/sim.path" >"$demo/sim.log" 2>&1 &
sim=$!
trap 'kill "$sim" 2>/dev/null || true; wait "$sim" 2>/dev/null || true' EXIT
for _ in $(seq 50); do
  [ -s "$demo/sim.path" ] && break
  kill -0 "$sim" 2>/dev/null || { cat "$demo/sim.log"; exit 1; }
  sleep 0.1
done
device=$(head -n 1 "$demo/sim.path")
echo "== simulated console on $device"

echo "== creating the station"
"$bin/stratalog" station create --name "Demo Station" --parent "$demo" >/dev/null
station="$demo/DemoStat"
"$bin/stratalog" station set --station "$station" --port "$device" --baud 19200 >/dev/null
"$bin/stratalog" stations list

download() {
  local rc=0
  "$bin/stratalog" "$station" -d || rc=$?
  echo "-- exit code $rc"
  echo "-- newest lines of the event log:"
  "$bin/stratalog" log -n 2
  return "$rc"
}

echo "== first download"
first=0
download || first=$?
echo "== what was stored"
"$bin/stratalog" db info --station "$station"

echo "== second download"
before=$("$bin/stratalog" db info --station "$station")
download || true
after=$("$bin/stratalog" db info --station "$station")
if [ "$before" = "$after" ]; then
  echo "nothing new: the database is unchanged"
else
  echo "the second download stored new records:"
  echo "$after"
fi

echo "== current conditions"
current=0
"$bin/stratalog" current --station "$station" || current=$?
[ "$first" -ne 0 ] && exit "$first"
exit "$current"
