#!/usr/bin/env bash
# Runs the three programs on the examples: srcfront compiles hello.f90 to an
# IL file, ilshow prints its program database, tarvo checks the source.
set -u
bin=$(cd "${1:-build/bin}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
out="$here/out"
rm -rf "$out" && mkdir -p "$out" && cd "$out" || exit 1
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-1700000000}

echo "== srcfront -V hello.f90"
"$bin/srcfront" -V "$here/hello.f90"; echo "(exit status $?)"
if [ -f hello.cil ]; then
  echo "== ilshow hello.cil"
  "$bin/ilshow" hello.cil; echo "(exit status $?)"
fi
echo "== tarvo hello.f90"
TARVOHOME="$here/../checker/data" "$bin/tarvo" "$here/hello.f90"; echo "(exit status $?)"
exit 0
