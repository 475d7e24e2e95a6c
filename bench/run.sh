#!/usr/bin/env bash
# Measures srcfront, ilshow and tarvo side by side with gfortran -fsyntax-only
# and ftnchek -quiet, and prints a table of times, peak memory and ratios.
# Nothing depends on the numbers; each run is limited to 300 seconds.
# Usage: bench/run.sh [build/bin] [lines of the large file, default 200000]
set -u
here=$(cd "$(dirname "$0")" && pwd)
bin=$(cd "${1:-$here/../build/bin}" && pwd)
lines=${2:-200000}
gen="$here/../tests/e2e/cases/ilfile/large_generated/in/gen_fixed.sh"
fcvs="$here/../../shared/corpus/fcvs"
export TARVOHOME="$bin" SOURCE_DATE_EPOCH=1700000000
if ! command -v ftnchek >/dev/null; then
  (apt-get update -qq && apt-get install -y -qq ftnchek) >/dev/null 2>&1 || echo "ftnchek could not be installed"
fi
have() { command -v "$1" >/dev/null; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1

# run [-N] LABEL command...: the median wall seconds and the largest peak
# KiB of N runs (default 1) into $t and $m. Single runs of a fraction of a
# second vary by half on a busy machine; the median of a few does not.
run() {
  local n=1
  case $1 in -[0-9]*) n=${1#-}; shift ;; esac
  local label=$1; shift
  local k times=() mems=()
  for ((k = 0; k < n; k++)); do
    /usr/bin/time -o time.txt -f '%e %M' timeout 300 "$@" >/dev/null 2>&1
    # The last line holds the numbers; a failing command adds one before it.
    read -r t m < <(tail -n 1 time.txt)
    times+=("$t"); mems+=("$m")
  done
  t=$(printf '%s\n' "${times[@]}" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }')
  m=$(printf '%s\n' "${mems[@]}" | sort -n | tail -n 1)
  if [ "$n" -gt 1 ]; then
    printf '%-44s %9.3f s %9d KiB (median of %d)\n' "$label" "$t" "$m" "$n"
  else
    printf '%-44s %9.3f s %9d KiB\n' "$label" "$t" "$m"
  fi
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.3f", a / b; else print "-" }'; }
# Ratios of tarvo and ilshow, printed as one table at the end.
table=()
row() { table+=("$(printf '%-40s %8s   %s' "$1" "$2" "$3")"); }
# median N LABEL command...: the median wall time of N runs into $t.
median() {
  local n=$1 label=$2; shift 2
  local k times=()
  for ((k = 0; k < n; k++)); do
    /usr/bin/time -o time.txt -f '%e' timeout 300 "$@" >/dev/null 2>&1
    times+=("$(tail -n 1 time.txt)")
  done
  t=$(printf '%s\n' "${times[@]}" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }')
  printf '%-44s %9.3f s (median of %d)\n' "$label" "$t" "$n"
}

# tarvo against ftnchek over the 200 files (and half of them, for
# linearity) and over the fcvs programs. ftnchek gives up on some fcvs
# programs (it reads Fortran 77 with few extensions), so the pair is timed
# on the programs it reads whole; tarvo alone over all of them.
bench_tarvo() {
  echo "== tarvo against ftnchek"
  local tv tv_half fk
  median 5 "tarvo, 200 files" "$bin/tarvo" files/*.f; tv=$t
  median 5 "tarvo, first 100 files" "$bin/tarvo" $(ls files/*.f | head -n 100); tv_half=$t
  fk=0; if have ftnchek; then median 5 "ftnchek -quiet, 200 files" ftnchek -quiet files/*.f; fk=$t; fi
  row "tarvo / ftnchek, 200 files" "$(ratio "$tv" "$fk")" "goal <= 0.8"
  row "tarvo 200 files / 100 files" "$(ratio "$tv" "$tv_half")" "linear: about 2"
  [ -d "$fcvs" ] || return 0
  median 5 "tarvo, fcvs (all $(ls "$fcvs"/*.f | wc -l))" "$bin/tarvo" "$fcvs"/*.f
  have ftnchek || return 0
  local f whole=()
  for f in "$fcvs"/*.f; do
    ftnchek -quiet "$f" 2>&1 | grep -q "Ftnchek aborted" || whole+=("$f")
  done
  median 5 "tarvo, fcvs ftnchek reads (${#whole[@]})" "$bin/tarvo" "${whole[@]}"; tv=$t
  median 5 "ftnchek -quiet, the same" ftnchek -quiet "${whole[@]}"; fk=$t
  row "tarvo / ftnchek, fcvs" "$(ratio "$tv" "$fk")" "goal <= 0.8"
}

# ilshow on the largest IL file of the run against srcfront writing it.
bench_ilshow() {
  echo "== ilshow on the largest IL file"
  local il src s i
  il=$(ls -S ./*.cil 2>/dev/null | head -n 1)
  [ -n "$il" ] || { echo "no IL file"; return 0; }
  src=$(ls "${il%.cil}".f "${il%.cil}".f90 2>/dev/null | head -n 1)
  median 3 "srcfront writing $il ($(wc -c <"$il") bytes)" "$bin/srcfront" $([ "${src##*.}" = f ] && echo -F) "$src"; s=$t
  median 3 "ilshow $il" "$bin/ilshow" "$il"; i=$t
  row "ilshow / srcfront, same program" "$(ratio "$i" "$s")" "goal <= 0.3"
}
per_group=$(( $(bash "$gen" 2 | wc -l) - $(bash "$gen" 1 | wc -l) ))
groups=$(( lines / per_group ))

echo "== large fixed-form file: $groups routine groups"
bash "$gen" "$groups" >big.f
bytes=$(wc -c <big.f); echo "$(wc -l <big.f) lines, $bytes bytes"
run -5 "srcfront -F -n" "$bin/srcfront" -F -n big.f; s_n=$t; s_mem=$m
run -5 "srcfront -F (IL file)" "$bin/srcfront" -F big.f; s_il=$t
run "gfortran -fsyntax-only" gfortran -fsyntax-only -std=legacy big.f; g=$t
f=0; if have ftnchek; then run -5 "ftnchek -quiet" ftnchek -quiet big.f; f=$t; fi
echo "srcfront -n / gfortran        $(ratio "$s_n" "$g")   (goal <= 0.10)"
echo "srcfront IL / gfortran        $(ratio "$s_il" "$g")"
echo "srcfront -n / ftnchek         $(ratio "$s_n" "$f")   (goal <= 1.5)"
echo "srcfront peak bytes per byte  $(ratio "$((s_mem * 1024))" "$bytes")   (goal <= 16)"

echo "== the same input at 1x, 2x, 4x, 8x"
base=$(( groups / 8 )); [ "$base" -lt 1 ] && base=1
for k in 1 2 4 8; do
  bash "$gen" $((base * k)) >scale$k.f
  run -5 "srcfront -F -n ${k}x ($(wc -l <scale$k.f) lines)" "$bin/srcfront" -F -n scale$k.f
  eval "st$k=$t"
done
echo "8x time / 1x time             $(ratio "$st8" "$st1")   (goal <= 8.5)"

echo "== 200 files of about $((lines / 200)) lines, one run each"
mkdir files
bash "$gen" $((200 * (groups / 200 > 0 ? groups / 200 : 1))) | awk -v n=200 -v per="$(( (groups / 200 > 0 ? groups / 200 : 1) * per_group ))" \
  '{ f = int((NR - 1) / per); if (f >= n) f = n - 1; printf "%s\n", $0 > sprintf("files/f%03d.f", f) }'
# each command...: seconds to run the command on each of the files in turn.
# One time limit covers the whole loop: a limit started for every file would
# add its own process start (about a millisecond) to every run of both sides.
each() {
  local s; s=$(date +%s.%N)
  timeout 1200 bash -c 'for f in files/*.f; do "$@" "$f" >/dev/null 2>&1; done' each "$@"
  awk -v a="$s" -v b="$(date +%s.%N)" 'BEGIN { printf "%.3f", b - a }'
}
e_s=$(each "$bin/srcfront" -F -n); printf '%-44s %9.3f s\n' "srcfront -F -n per file" "$e_s"
e_g=$(each gfortran -fsyntax-only -std=legacy); printf '%-44s %9.3f s\n' "gfortran -fsyntax-only per file" "$e_g"
e_f=0; if have ftnchek; then e_f=$(each ftnchek -quiet); printf '%-44s %9.3f s\n' "ftnchek -quiet per file" "$e_f"; fi
echo "srcfront -n / gfortran        $(ratio "$e_s" "$e_g")   (goal <= 0.10)"
echo "srcfront -n / ftnchek         $(ratio "$e_s" "$e_f")   (goal <= 1.5)"

echo "== DATA with strided elements and array constructors"
for n in 10000 100000 1000000; do
  cat >data$n.f <<F77
      SUBROUTINE D
      INTEGER A($((2 * n)))
      INTEGER J
      DATA (A(J), J = 1, $((2 * n)), 2) /$n*1/
      DATA (A(J), J = 2, $((2 * n)), 2) /$n*2/
      END
F77
  run "DATA, $n strided elements twice" "$bin/srcfront" -F data$n.f
  cat >ctor$n.f90 <<F90
subroutine c(total)
  integer :: total, j
  total = sum((/ (j, j = 1, $n) /))
end subroutine c
F90
  run "constructor of $n elements" "$bin/srcfront" ctor$n.f90
  printf '%-44s %9d bytes\n' "  its IL file" "$(wc -c <ctor$n.cil 2>/dev/null || echo 0)"
done

bench_tarvo
bench_ilshow
echo "== ratios of tarvo and ilshow"
printf '%s\n' "${table[@]}"
