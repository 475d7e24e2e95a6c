#!/usr/bin/env bash
# Checks that each source folder includes only folders at or below its own
# layer. Layers are listed bottom first; a folder may include its own layer
# and any layer listed before it.
set -u
root=${1:-$(cd "$(dirname "$0")/../.." && pwd)}
cd "$root" || exit 2

layers=(
  "frontend/base"
  "frontend/model"
  "frontend/semantics"
  "frontend/lexer"
  "frontend/ilfile"
  "frontend/parser"
  "frontend/driver"
  "ilshow"
  "checker/common"
  "checker/base"
  "checker/semantics"
  "checker/reader"
  "checker"
)
# Folders above every listed layer: a listed folder may not include them.
above=("programs")
rank() {
  local i
  for i in "${!layers[@]}"; do
    [ "${layers[$i]}" = "$1" ] && { echo "$i"; return; }
  done
  echo -1
}

bad=0
for i in "${!layers[@]}"; do
  dir=${layers[$i]}
  for f in "$dir"/*.cpp "$dir"/*.h "$dir"/*.def; do
    [ -f "$f" ] || continue
    while IFS= read -r inc; do
      target=$(dirname "$inc")
      r=$(rank "$target")
      for a in "${above[@]}"; do
        [ "$target" = "$a" ] && r=${#layers[@]}
      done
      if [ "$r" -lt 0 ]; then
        echo "$f includes $inc: a folder outside the layers"
        bad=1
      elif [ "$r" -gt "$i" ]; then
        echo "$f includes $inc: a layer above its own"
        bad=1
      fi
    done < <(sed -n 's/^#include "\([^"]*\)".*/\1/p' "$f")
  done
done
[ $bad -eq 0 ] && echo "layers hold"
exit $bad
