#!/usr/bin/env bash
# The source folders include one another only downwards:
#   model < drawing, turn < orders, economy < presentation < cli, shell
# (each folder's allowed includes are listed below), so the include graph of
# the folders has no cycle, and the logic (model, drawing, turn, orders,
# economy) includes no Qt header.
#   include_layers_test.sh SOURCE_DIR
set -uo pipefail
src=${1:?source folder}/src
cd "$src" || exit 1

declare -A allowed=(
  [model]="model"
  [drawing]="model drawing"
  [turn]="model turn"
  [orders]="model drawing turn orders"
  [economy]="model turn economy"
  [presentation]="model drawing presentation"
  [cli]="model drawing turn presentation cli"
  [shell]="model drawing turn orders economy presentation shell"
)
logic="model drawing turn orders economy"

status=0
for folder in "${!allowed[@]}"; do
  [ -d "$folder" ] || { echo "missing folder src/$folder"; status=1; continue; }
  while IFS= read -r line; do
    file=${line%%:*}
    target=$(sed -E 's/.*#include "([^/"]+)\/.*/\1/' <<<"$line")
    case " ${allowed[$folder]} " in
      *" $target "*) ;;
      *) echo "src/$file includes from $target/, which $folder/ may not use: $line"; status=1 ;;
    esac
  done < <(grep -rHn '^#include "[^/"]*/' "$folder" --include='*.h' --include='*.cpp' | sed -E 's/^([^:]*):[0-9]+:/\1:/')
done

for folder in $logic; do
  if hits=$(grep -rHnE '^#include <Q' "$folder" --include='*.h' --include='*.cpp'); then
    echo "the logic includes Qt:"
    echo "$hits"
    status=1
  fi
done

# Every folder of src/ is listed above, so a new one cannot escape the rules.
for folder in */; do
  folder=${folder%/}
  [ -n "${allowed[$folder]+set}" ] || { echo "src/$folder/ has no rule here"; status=1; }
done

[ "$status" -eq 0 ] && echo "include layers: every include points down"
exit "$status"
