#!/usr/bin/env bash
# The main job: builds caspo, then sets up an agent's configuration store from the shipped
# defaults with the shell tool and shows what it holds. Leaves nothing behind.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
store="$work/config.db"
tool=build/bin/caspo-config

echo "== a fresh store from the shipped defaults (verification on)"
$tool --store "$store" import tools/config/default-agent.json
$tool --store "$store" set config/ostra/endpoint/mgmt "https://127.0.0.1/mgmt/"
$tool --store "$store" list
echo "== one value read back"
$tool --store "$store" get config/conn/varenssl/verifypeer
echo "== the store as JSON"
$tool --store "$store" export config/conn
