#!/usr/bin/env bash
# The skin engine's folders are layers: each may include its own and lower folders only, so that
# markup never learns of controls and the manager sits on top of everything. Prints each include that
# runs back up and fails when there is one.
set -euo pipefail
skin_dir=${1:?usage: check-layers.sh <skin folder>}
layers=(markup resources drawing controls manager)
rank() {
  local i
  for i in "${!layers[@]}"; do
    [[ ${layers[$i]} == "$1" ]] && { echo "$i"; return; }
  done
  echo "unknown skin folder: $1" >&2
  exit 2
}
bad=0
while IFS= read -r file; do
  own=${file#"$skin_dir"/}
  own=${own%%/*}
  own_rank=$(rank "$own")
  while IFS= read -r used; do
    if (($(rank "$used") > own_rank)); then
      echo "$file includes skin/$used/ from the lower folder skin/$own/"
      bad=1
    fi
  done < <(sed -n 's|^#include "skin/\([a-z]*\)/.*|\1|p' "$file")
done < <(find "$skin_dir" -mindepth 2 \( -name '*.h' -o -name '*.cpp' \))
exit "$bad"
