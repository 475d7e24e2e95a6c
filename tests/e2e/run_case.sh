#!/usr/bin/env bash
# Runs one end-to-end case and compares what it did with what the case expects.
#
# A case is a folder:
#   cmd      shell text run by bash in a fresh empty working folder (required)
#   in/      files copied into the working folder before the run
#   stdout   expected standard output   (absent: must be empty)
#   stderr   expected standard error    (absent: must be empty)
#   status   expected exit status       (absent: 0)
#   out/     files that must exist afterwards with exactly this content
#   absent   names (one a line) that must not exist afterwards
#
# The programs are found on PATH (the build's bin folder first). The run gets
# TZ=UTC, SOURCE_DATE_EPOCH=1700000000, USR_INCLUDE pointing to an empty
# folder and TOOLKIT_SOURCE_DIR; cmd may override any of them.
set -u
case_dir=$1
bin_dir=$2
src_dir=${3:-}

work=$(mktemp -d "${TMPDIR:-/tmp}/e2e.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/run" "$work/.usr_include"
if [ -d "$case_dir/in" ]; then
  cp -R "$case_dir/in/." "$work/run/"
fi

(
  cd "$work/run" || exit 99
  export PATH="$bin_dir:$PATH" TZ=UTC SOURCE_DATE_EPOCH=1700000000
  export USR_INCLUDE="$work/.usr_include" TOOLKIT_SOURCE_DIR="$src_dir"
  exec bash "$case_dir/cmd" </dev/null >"$work/stdout" 2>"$work/stderr"
)
status=$?

fail=0
compare() { # what expected-file actual-file
  local what=$1 exp=$2 act=$3
  if ! cmp -s "$exp" "$act"; then
    echo "--- $what differs (expected vs actual):"
    diff -u "$exp" "$act" | head -n 60
    fail=1
  fi
}

exp_status=0
[ -f "$case_dir/status" ] && exp_status=$(tr -d ' \n' <"$case_dir/status")
if [ "$status" != "$exp_status" ]; then
  echo "--- exit status: expected $exp_status, got $status"
  fail=1
fi
for stream in stdout stderr; do
  if [ -f "$case_dir/$stream" ]; then
    compare "$stream" "$case_dir/$stream" "$work/$stream"
  elif [ -s "$work/$stream" ]; then
    echo "--- $stream should be empty, got:"
    head -c 3000 "$work/$stream"
    fail=1
  fi
done
if [ -d "$case_dir/out" ]; then
  while IFS= read -r -d '' f; do
    rel=${f#"$case_dir/out/"}
    if [ ! -f "$work/run/$rel" ]; then
      echo "--- expected file $rel was not produced"
      fail=1
    else
      compare "file $rel" "$f" "$work/run/$rel"
    fi
  done < <(find "$case_dir/out" -type f -print0)
fi
if [ -f "$case_dir/absent" ]; then
  while IFS= read -r name; do
    [ -z "$name" ] && continue
    if [ -e "$work/run/$name" ]; then
      echo "--- $name should not exist"
      fail=1
    fi
  done <"$case_dir/absent"
fi
if [ $fail -ne 0 ]; then
  echo "case $case_dir FAILED"
  exit 1
fi
exit 0
