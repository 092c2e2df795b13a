#!/usr/bin/env bash
# Lists every include that points up the layers (or sideways between render and
# dialogs) and fails when there is one. resources/resource.h holds only ids and may be
# included from any layer.
set -uo pipefail
cd "$(dirname "$0")/.."
declare -A rank=([base]=0 [resources]=0 [toolkit]=1 [settings]=2 [traffic]=3 [usage]=4 [render]=5 [dialogs]=5 [app]=6)
bad=0
for dir in base toolkit settings traffic usage render dialogs app; do
  for f in "$dir"/*.h "$dir"/*.cpp; do
    [ -f "$f" ] || continue
    while read -r inc; do
      [ -n "${rank[$inc]:-}" ] && [ "$inc" != "$dir" ] || continue
      if [ "${rank[$inc]}" -ge "${rank[$dir]}" ] && [ "$inc" != resources ]; then
        echo "$f includes $inc/"; bad=1
      fi
    done < <(sed -n 's|^#include "\([a-z]*\)/.*|\1|p' "$f")
  done
done
exit $bad
