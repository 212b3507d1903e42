#!/usr/bin/env bash
# Cross-builds the Windows build with mingw-w64 (the `mingw` preset, in build-mingw/): caspo.dll,
# its sibling DLLs, caspo.exe and the unit-test programs, after the libraries they link
# (scripts/win64-deps.sh, cached outside the checkout). Runs nothing; scripts/test-win64.sh runs
# the tests.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
CASPO_WIN64_PREFIX="$(scripts/win64-deps.sh | tail -n 1)"
export CASPO_WIN64_PREFIX
cmake --preset mingw >/dev/null
cmake --build --preset mingw
