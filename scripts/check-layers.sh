#!/usr/bin/env bash
# Fails when a source file includes a header of a layer above its own. The order, lowest first:
# platform, interfaces, siblings, support, shared_agent, session, clients, boundary, tools.
# Tests, benchmarks and fuzz targets may include any layer.
set -euo pipefail
cd "${1:-$(dirname "$0")/..}"

layers=(platform interfaces siblings support shared_agent session clients boundary tools)
rank() {
    local i
    for i in "${!layers[@]}"; do
        [ "${layers[$i]}" = "$1" ] && { echo "$i"; return; }
    done
    echo -1
}

status=0
for own in "${layers[@]}"; do
    [ -d "$own" ] || continue
    ownRank=$(rank "$own")
    while IFS=: read -r file line target; do
        top=${target%%/*}
        targetRank=$(rank "$top")
        if [ "$targetRank" -gt "$ownRank" ]; then
            echo "$file:$line: $own includes $target, which is in the higher layer $top"
            status=1
        fi
    done < <(grep -rnoE --include='*.h' --include='*.cpp' '^#include "[^"]+"' "$own" |
             sed -E 's/#include "([^"]+)"/\1/')
done
[ "$status" -eq 0 ] && echo "check-layers: every include goes downward"
exit "$status"
