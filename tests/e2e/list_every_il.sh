#!/usr/bin/env bash
# Runs both IL listings (HTML, plain text, Fortran) over IL files, from the
# current (empty) folder:
#   list_every_il.sh files DIR...     the IL and module files under the DIRs
#   list_every_il.sh sources DIR...   the IL and module files that srcfront
#                                     writes for every Fortran source there
# Every listing must run to its end with status 0 and every HTML listing must
# be well formed. Prints only what fails, then "listed N" with the number of
# IL files listed.
set -u
tests="$TOOLKIT_SOURCE_DIR/tests"
what=$1
shift
mkdir html
listed=0
list_file() { # IL or module file, name to report
  # The damaged files of other cases are left out (srcfront writes none).
  [ "$what" = sources ] || iltool check "$1" 2>/dev/null || return 0
  listed=$((listed + 1))
  for mode in html text fortran; do
    iltool $mode "$1" >listing.$mode 2>listing.err ||
      echo "iltool $mode $2: status $? $(head -c 200 listing.err)"
  done
  # The HTML listings are checked together at the end, under their names.
  mv listing.html "html/$(printf '%s' "$2" | tr '/: ' '___').html"
}
if [ "$what" = files ]; then
  while IFS= read -r -d '' f; do
    list_file "$f" "${f#"$tests"/}"
  done < <(find "$@" \( -name '*.cil' -o -name '*.mod' \) -print0 | sort -z)
else
  # Each folder of sources is compiled in a copy of its own, source by
  # source, so that the files of a case (modules, INCLUDE files) are at hand.
  n=0
  while IFS= read -r -d '' dir; do
    n=$((n + 1))
    mkdir "c$n"
    cp -R "$dir/." "c$n/"
    for src in "c$n"/*.f90 "c$n"/*.f; do
      [ -f "$src" ] || continue
      (cd "c$n" && rm -f ./*.cil && srcfront -M . "${src##*/}" >/dev/null 2>&1)
      for f in "c$n"/*.cil; do
        [ -f "$f" ] && list_file "$f" "${dir#"$tests"/}/${src##*/}: ${f##*/}"
      done
    done
    for f in "c$n"/*.mod; do
      [ -f "$f" ] && list_file "$f" "${dir#"$tests"/}: ${f##*/}"
    done
    rm -rf "c$n"
  done < <(find "$@" -type f \( -name '*.f90' -o -name '*.f' \) -printf '%h\0' | sort -zu)
fi
if [ "$listed" -gt 0 ]; then
  python3 "$tests/e2e/check_listing_html.py" html/*.html
fi
echo "listed $listed"
