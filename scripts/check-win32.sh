#!/usr/bin/env bash
# Cross-compiles the Win32 platform layer and the code that needs nothing else with mingw-w64.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset mingw
cmake --build --preset mingw
