#!/usr/bin/env bash
# Installs every Debian 12 package that the build, the tests, the tools and the benchmarks
# need. Idempotent: packages already installed are skipped, and nothing runs when all are.
set -euo pipefail

packages=(
    # build
    build-essential cmake ninja-build pkg-config git
    # libraries
    libcurl4-openssl-dev libssl-dev libjsoncpp-dev libsqlite3-dev libpugixml-dev
    libcpp-httplib-dev libfmt-dev libspdlog-dev
    # tests and benchmarks
    libgtest-dev libgmock-dev libbenchmark-dev openssl curl tinyproxy nginx-light strace
    iproute2 util-linux valgrind
    # the Windows build (scripts/win64-deps.sh, scripts/test-win64.sh): the mingw-w64 compilers,
    # Debian's source packages of the libraries (dpkg-dev; tcl for SQLite's amalgamation), and
    # wine64 to run the Windows programs
    g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 dpkg-dev tcl wine64
    # formatting, static checks, and clang with its sanitizer runtimes for the fuzz targets
    clang-format clang-tidy clang libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed$'; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    echo "install-deps: every package is installed"
    exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
# Services that come with packages (nginx, tinyproxy) are not started: the tests start their
# own instances on free ports.
if [ ! -e /usr/sbin/policy-rc.d ]; then
    printf '#!/bin/sh\nexit 101\n' | $sudo tee /usr/sbin/policy-rc.d >/dev/null
    $sudo chmod +x /usr/sbin/policy-rc.d
    trap '$sudo rm -f /usr/sbin/policy-rc.d' EXIT
fi
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
