#!/usr/bin/env bash
# Measures the programs on a generated source of about 18 lines per routine:
# wall time of srcfront (no IL output, and with the IL file) and of tarvo.
# Usage: bench/run.sh [build/bin] [routines]
set -u
here=$(cd "$(dirname "$0")" && pwd)
bin=$(cd "${1:-$here/../build/bin}" && pwd)
n=${2:-2000}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
bash "$here/gen_source.sh" "$n" >"$work/big.f90"
lines=$(wc -l <"$work/big.f90")
echo "source: $lines lines, $n routines"
cd "$work" || exit 1
measure() { # label command...
  local label=$1; shift
  local start end
  start=$(date +%s.%N)
  "$@" >/dev/null 2>&1
  local status=$?
  end=$(date +%s.%N)
  printf '%-22s %8.3f s  (status %d)\n' "$label" "$(awk -v a="$start" -v b="$end" 'BEGIN { print b - a }')" "$status"
}
measure "srcfront -n" "$bin/srcfront" -n big.f90
measure "srcfront (IL file)" "$bin/srcfront" big.f90
measure "tarvo" env TARVOHOME="$bin" "$bin/tarvo" big.f90
