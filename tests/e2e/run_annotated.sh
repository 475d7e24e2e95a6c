#!/usr/bin/env bash
# Compiles one annotated Fortran fixture with "srcfront -n" and checks its
# diagnostics against the annotations in the fixture itself:
#
#   ! args: -F -A            (first line only) extra options for srcfront
#   ! expect: error: text    a message expected at the next line that is not
#                            itself an annotation; at the end of the file it
#                            expects the message "At end of source"
#   ! status: 2              (anywhere) the expected exit status
#
# Every expected message must appear once at its line, and no other message
# may appear. Usage: run_annotated.sh <fixture> <bin-dir>
set -u
fixture=$1
bin_dir=$2

dir=$(cd "$(dirname "$fixture")" && pwd)
name=$(basename "$fixture")
work=$(mktemp -d "${TMPDIR:-/tmp}/annotated.XXXXXX")
trap 'rm -rf "$work"' EXIT

args=$(sed -n '1s/^[[:space:]]*![[:space:]]*args:[[:space:]]*//p' "$fixture")
want_status=$(sed -n 's/^[[:space:]]*![[:space:]]*status:[[:space:]]*\([0-9][0-9]*\).*/\1/p' "$fixture" | head -n 1)

# Expected messages, one "line|severity|text" each.
awk '
  /^[[:space:]]*![[:space:]]*expect:[[:space:]]*/ {
    s = $0
    sub(/^[[:space:]]*![[:space:]]*expect:[[:space:]]*/, "", s)
    sev = s; sub(/:.*/, "", sev)
    text = s; sub(/^[^:]*:[[:space:]]*/, "", text)
    pending[++n] = sev "|" text
    next
  }
  {
    for (i = 1; i <= n; i++) print NR "|" pending[i]
    n = 0
  }
  END { for (i = 1; i <= n; i++) print "EOF|" pending[i] }
' "$fixture" | sort >"$work/expected"

(
  cd "$dir" || exit 99
  # shellcheck disable=SC2086
  exec "$bin_dir/srcfront" -n $args "$name"
) </dev/null >"$work/stdout" 2>"$work/stderr"
status=$?

# Actual messages in the same form; a message of another file keeps its
# file name so that it never matches an expectation.
awk -v file="$name" '
  match($0, /^At end of source: /) {
    s = substr($0, RLENGTH + 1)
    sev = s; sub(/:.*/, "", sev)
    text = s; sub(/^[^:]*:[[:space:]]*/, "", text)
    print "EOF|" sev "|" text
    next
  }
  match($0, /^[^(]* \( *[0-9]+(: *[0-9]+)?\) /) {
    head = substr($0, 1, RLENGTH)
    s = substr($0, RLENGTH + 1)
    f = head; sub(/ \(.*/, "", f)
    line = head; sub(/^[^(]*\( */, "", line); sub(/[:)].*/, "", line)
    sev = s; sub(/:.*/, "", sev)
    text = s; sub(/^[^:]*:[[:space:]]*/, "", text)
    if (f != file) line = f ":" line
    print line "|" sev "|" text
    next
  }
  { print "?|" $0 }
' "$work/stderr" | sort >"$work/actual"

fail=0
if ! cmp -s "$work/expected" "$work/actual"; then
  echo "--- messages differ (< expected, > actual; line|severity|text):"
  diff "$work/expected" "$work/actual" | grep '^[<>]'
  fail=1
fi
if [ -n "$want_status" ] && [ "$status" != "$want_status" ]; then
  echo "--- exit status: expected $want_status, got $status"
  fail=1
fi
if [ -s "$work/stdout" ]; then
  echo "--- stdout should be empty, got:"
  cat "$work/stdout"
  fail=1
fi
if [ $fail -ne 0 ]; then
  echo "--- full stderr:"
  cat "$work/stderr"
  echo "fixture $fixture FAILED"
  exit 1
fi
exit 0
