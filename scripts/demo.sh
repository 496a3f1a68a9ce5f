#!/usr/bin/env bash
# Builds the program in Release, generates a station of 45 days of 5-minute records in
# ./demo/station and shows it with `stratalog db`.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/release --target stratalog
bin=build/release/stratalog
station=demo/station

rm -rf "$station"
mkdir -p demo
"$bin" db generate "$station" --from 2006-02-20 --days 45 --interval 5

show() {
  echo
  echo "\$ stratalog $*"
  "$bin" "$@"
}
show db info "$station"
show db months "$station"
show db record "$station" 0
show db closest "$station" 2006-03-01 12:07
show db day "$station" 2006-03-15 | sed -n '1,90p'
