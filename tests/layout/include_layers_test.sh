#!/usr/bin/env bash
# The source folders include one another only downwards (each folder's allowed
# includes below), so their include graph has no cycle, and the logic (model,
# drawing, turn, orders, economy) includes no Qt header.
#   include_layers_test.sh SOURCE_DIR
set -uo pipefail
cd "${1:?source folder}/src" || exit 1
declare -A allowed=(
  [model]="model" [drawing]="model drawing" [turn]="model turn" [orders]="model drawing turn orders"
  [economy]="model turn economy" [presentation]="model drawing presentation"
  [cli]="model drawing turn presentation cli" [shell]="model drawing turn orders economy presentation shell"
)
status=0
for folder in */; do  # every folder has a rule, so a new one cannot escape them
  folder=${folder%/}
  [ -n "${allowed[$folder]+set}" ] || { echo "src/$folder/ has no rule here" && status=1 && continue; }
  while IFS=: read -r file target; do
    [[ " ${allowed[$folder]} " == *" $target "* ]] || { echo "src/$file includes from $target/" && status=1; }
  done < <(grep -rHo '^#include "[^/"]*/' "$folder" --include='*.h' --include='*.cpp' | sed -E 's/:#include "/:/; s/\/$//')
done
for folder in model drawing turn orders economy; do
  grep -rHnE '^#include <Q' "$folder" --include='*.h' --include='*.cpp' && echo "the logic includes Qt" && status=1
done
[ "$status" -eq 0 ] && echo "include layers: every include points down"
exit "$status"
