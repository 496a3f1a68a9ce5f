#!/usr/bin/env bash
# Fails when an #include crosses the layer order upward. The order is STRATALOG_LAYERS in
# CMakeLists.txt, bottom first; each library links only the layers below it, but the
# linker cannot see a use that lives in a header alone, so the includes are held to the
# same order here. Rules:
#   src/<layer>/      its own layer and those below it; never the test doubles
#   tools/consolesim/ itself and the platform
#   tests/<layer>/    its own layer and those below it, the test doubles, the simulator,
#                     and the test helpers of those layers
# Usage: scripts/check-layers.sh [source-dir]   (prints each offending line; exit 1 if any)
set -euo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root"

read -r -a layers <<<"$(sed -n 's/^set(STRATALOG_LAYERS \(.*\))$/\1/p' CMakeLists.txt)"
if [ "${#layers[@]}" -eq 0 ]; then
  echo "check-layers: no STRATALOG_LAYERS in CMakeLists.txt" >&2
  exit 2
fi
declare -A rank
for i in "${!layers[@]}"; do rank[${layers[$i]}]=$i; done

bad=0
complain() {
  echo "$1: includes \"$2\" ($3)"
  bad=1
}

check_file() {  # file, layer of the file, whether it is a test
  local file=$1 layer=$2 isTest=$3 line target top
  while IFS= read -r line; do
    target=${line#*\"}
    target=${target%%\"*}
    [[ $target == */* ]] || continue
    top=${target%%/*}
    if [[ $target == platform/testing/* ]]; then
      [[ $isTest == yes || $file == src/platform/testing/* ]] ||
        complain "$file" "$target" "test doubles are for tests only"
      continue
    fi
    if [[ $top == consolesim ]]; then
      [[ $isTest == yes && ( $layer == consolesim || ${rank[$layer]:-0} -ge ${rank[link]} ) ]] ||
        [[ $layer == consolesim ]] || complain "$file" "$target" "the simulator is not part of $layer"
      continue
    fi
    if [[ $layer == consolesim ]]; then
      [[ $top == platform ]] || complain "$file" "$target" "the simulator stands on the platform alone"
      continue
    fi
    if [[ -z ${rank[$top]+x} ]]; then
      complain "$file" "$target" "not a layer"
    elif ((rank[$top] > rank[$layer])); then
      complain "$file" "$target" "$top lies above $layer"
    fi
  done < <(grep -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$file" || true)
}

while IFS= read -r file; do
  case $file in
    src/main.cpp) continue ;;
    src/platform/testing/*) check_file "$file" platform yes ;;
    src/*/*) l=${file#src/}; check_file "$file" "${l%%/*}" no ;;
    tools/consolesim/*) check_file "$file" consolesim no ;;
    tests/*/*)
      layer=${file#*/}; layer=${layer%%/*}
      [[ -n ${rank[$layer]+x} || $layer == consolesim ]] || continue
      check_file "$file" "$layer" yes
      ;;
  esac
done < <(find src tools/consolesim tests -type f \( -name '*.h' -o -name '*.cpp' \) | sort)

if ((bad)); then
  echo "check-layers: an include goes up the layer order (see CMakeLists.txt and the README)" >&2
  exit 1
fi
echo "check-layers: every include keeps to the layer order"
