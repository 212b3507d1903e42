#!/usr/bin/env bash
# Cross-builds, with mingw-w64, the libraries that the Windows build links, from Debian's own
# source packages, into one prefix: OpenSSL's libssl and libcrypto as DLLs, the others as static
# libraries:
#   OpenSSL, libcurl (OpenSSL, HTTP and HTTPS only), SQLite, jsoncpp,
#   pugixml, fmt and spdlog, and GoogleTest/GoogleMock from /usr/src/googletest.
#
# The prefix lives in a cache folder outside the checkout, keyed by the source versions apt
# offers, the mingw-w64 compiler, the toolchain file and this script: a second run finds it and
# does nothing. The last line printed is the prefix (test-win64.sh passes it to the `mingw`
# preset as CASPO_WIN64_PREFIX).
#
#   scripts/win64-deps.sh            build what is missing, print the prefix
#   CASPO_WIN64_CACHE=DIR            the cache folder (default: $XDG_CACHE_HOME/caspo-win64 or
#                                    ~/.cache/caspo-win64)
#
# Needs the Debian packages of scripts/install-deps.sh and a deb-src entry, which it adds (as
# root, or with sudo) for the archive the machine already installs from.
set -Eeuo pipefail

repo="$(cd "$(dirname "$0")/.." && pwd)"
host=x86_64-w64-mingw32
cc="$host-gcc-posix"
cxx="$host-g++-posix"
toolchain="$repo/cmake/mingw-w64.cmake"
jobs="$(nproc)"
# Debian source package of each library (binary names are mapped by apt too).
sources=(openssl curl sqlite3 libjsoncpp pugixml fmtlib spdlog)

log() { echo "win64-deps: $*" >&2; }

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi

# A deb-src entry for each Debian archive stanza of the machine's deb822 sources, written once.
ensure_deb_src() {
    if [ -n "$(source_versions openssl)" ]; then
        return
    fi
    local list=/etc/apt/sources.list.d/caspo-deb-src.sources
    log "adding $list and reading the source indexes"
    local stanzas=""
    local file
    for file in /etc/apt/sources.list.d/*.sources; do
        [ -e "$file" ] || continue
        stanzas+="$(awk 'BEGIN { RS = ""; ORS = "\n\n" }
            /(^|\n)Types:[^\n]*deb([ \n]|$)/ && /URIs:[^\n]*debian/ {
                sub(/Types:[^\n]*/, "Types: deb-src"); print }' "$file")"$'\n'
    done
    if [ -z "${stanzas//[[:space:]]/}" ] && [ -e /etc/apt/sources.list ]; then
        stanzas="$(sed -n 's/^deb \(.*debian.*\)$/deb-src \1/p' /etc/apt/sources.list)"
        list=/etc/apt/sources.list.d/caspo-deb-src.list
    fi
    if [ -z "${stanzas//[[:space:]]/}" ]; then
        log "no Debian archive found in the apt sources"
        exit 1
    fi
    printf '%s\n' "$stanzas" | $sudo tee "$list" >/dev/null
    $sudo apt-get update -qq
}

# Every version of a source package that apt knows, newest first.
source_versions() {
    apt-cache showsrc --only-source "$1" 2>/dev/null | sed -n 's/^Version: //p' |
        sort -u | sort -r -V
}

# The cache key: what decides the content of the prefix.
cache_key() {
    {
        local name
        for name in "${sources[@]}"; do
            echo "$name $(source_versions "$name" | tr '\n' ' ')"
        done
        dpkg-query -W -f='${Package} ${Version}\n' googletest
        "$cxx" --version | head -1
        sha256sum "$toolchain" "$0" | cut -d' ' -f1
    } | sha256sum | cut -c1-16
}

# Fetches and unpacks a source package (Debian's patches applied) into the current folder,
# trying its versions newest first: a mirror may not hold every version its index lists.
fetch_source() {
    local name="$1" version
    for version in $(source_versions "$name"); do
        if apt-get source -qq "$name=$version" >fetch-"$name".log 2>&1; then
            echo "$name $version" >>"$work/versions.txt"
            log "$name $version"
            return
        fi
        rm -rf "$name"-* "$name"_*
    done
    cat fetch-"$name".log >&2
    log "cannot fetch the source of $name"
    exit 1
}

# The unpacked source folder of a package.
source_dir() {
    find . -maxdepth 1 -mindepth 1 -type d -name "$1-*" | head -1
}

cmake_build() {
    local src="$1"
    shift
    cmake -S "$src" -B "$src/build-win64" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DCASPO_WIN64_PREFIX="$prefix" -DCMAKE_INSTALL_PREFIX="$prefix" \
        -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=OFF -DCMAKE_INSTALL_LIBDIR=lib "$@" \
        >"$src.configure.log" 2>&1
    cmake --build "$src/build-win64" -j "$jobs" >"$src.build.log" 2>&1
    cmake --install "$src/build-win64" >"$src.install.log" 2>&1
}

# OpenSSL as DLLs (libcrypto-3-x64.dll, libssl-3-x64.dll in bin/): certificates and TLS contexts
# pass between caspo.dll, mirel.dll, tolva.dll and venit.dll, so a process must have one OpenSSL,
# as it has one libcrypto.so on Linux. The static libraries go, so that nothing links a copy.
build_openssl() {
    fetch_source openssl
    local src
    src="$(source_dir openssl)"
    (cd "$src" &&
        CC=gcc-posix ./Configure mingw64 --cross-compile-prefix="$host-" --prefix="$prefix" \
            --libdir=lib shared no-tests no-engine no-module no-dso >../openssl.configure.log 2>&1 &&
        make -j "$jobs" build_libs >../openssl.build.log 2>&1 &&
        make install_dev install_runtime_libs >../openssl.install.log 2>&1)
    rm -f "$prefix/lib/libcrypto.a" "$prefix/lib/libssl.a"
    [ -e "$prefix/bin/libcrypto-3-x64.dll" ] && [ -e "$prefix/bin/libssl-3-x64.dll" ]
}

build_curl() {
    fetch_source curl
    local src protocol
    src="$(source_dir curl)"
    local disabled=()
    for protocol in ftp file ldap ldaps rtsp dict telnet tftp pop3 imap smb smtp gopher mqtt \
        manual docs ntlm ntlm-wb; do
        disabled+=("--disable-$protocol")
    done
    (cd "$src" &&
        ./configure --host="$host" CC="$cc" --prefix="$prefix" --with-openssl="$prefix" \
            --disable-shared --enable-static "${disabled[@]}" \
            --without-{libpsl,brotli,zstd,libidn2,nghttp2,zlib,librtmp,libssh2} \
            >../curl.configure.log 2>&1 &&
        make -C lib -j "$jobs" >../curl.build.log 2>&1 &&
        make -C lib install >../curl.install.log 2>&1 &&
        make -C include install >>../curl.install.log 2>&1 &&
        make install-pkgconfigDATA >>../curl.install.log 2>&1)
}

# SQLite's amalgamation (one C file, the same for every system) is made by its own build for
# this machine, which runs tclsh and tools it compiles; only that file is then cross-compiled.
build_sqlite() {
    fetch_source sqlite3
    local src
    src="$(source_dir sqlite3)"
    (cd "$src" &&
        ./configure --disable-tcl >../sqlite3.configure.log 2>&1 &&
        make sqlite3.c >../sqlite3.build.log 2>&1 &&
        "$cc" -O2 -DSQLITE_THREADSAFE=1 -DSQLITE_OMIT_LOAD_EXTENSION -c sqlite3.c -o sqlite3.o &&
        "$host-ar" rcs libsqlite3.a sqlite3.o &&
        install -m 644 sqlite3.h sqlite3ext.h "$prefix/include/" &&
        install -m 644 libsqlite3.a "$prefix/lib/")
}

build_cmake_packages() {
    fetch_source libjsoncpp
    cmake_build "$(source_dir libjsoncpp)" -DJSONCPP_WITH_TESTS=OFF \
        -DJSONCPP_WITH_POST_BUILD_UNITTEST=OFF -DBUILD_STATIC_LIBS=ON -DBUILD_OBJECT_LIBS=OFF
    fetch_source pugixml
    cmake_build "$(source_dir pugixml)" -DPUGIXML_BUILD_TESTS=OFF
    fetch_source fmtlib
    cmake_build "$(source_dir fmtlib)" -DFMT_DOC=OFF -DFMT_TEST=OFF
    fetch_source spdlog
    cmake_build "$(source_dir spdlog)" -DSPDLOG_FMT_EXTERNAL=ON -DSPDLOG_BUILD_EXAMPLE=OFF \
        -DSPDLOG_BUILD_TESTS=OFF -DSPDLOG_BUILD_BENCH=OFF
    cp -r /usr/src/googletest googletest-src
    cmake_build googletest-src -DBUILD_GMOCK=ON -DINSTALL_GTEST=ON
    echo "googletest $(dpkg-query -W -f='${Version}' googletest)" >>"$work/versions.txt"
}

ensure_deb_src
cache="${CASPO_WIN64_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/caspo-win64}"
prefix="$cache/$(cache_key)"
# The marker of a finished build: the versions it was built from.
if [ -e "$prefix/versions.txt" ]; then
    log "up to date"
    echo "$prefix"
    exit 0
fi

started=$SECONDS
work="$(mktemp -d "$cache/work.XXXXXX" 2>/dev/null || { mkdir -p "$cache" && mktemp -d "$cache/work.XXXXXX"; })"
# The scratch folder goes when the build succeeds; after a failure it stays, with its logs.
trap 'log "failed: the logs are in $work"' ERR
# What a build that was stopped left behind goes. The libraries are built where they stay: their
# pkg-config files hold the prefix.
rm -rf "$prefix"
mkdir -p "$prefix/include" "$prefix/lib"
cd "$work"
log "building into $prefix (logs in $work while it runs)"
build_openssl
build_curl
build_sqlite
build_cmake_packages
mv "$work/versions.txt" "$prefix/versions.txt"
cd /
rm -rf "$work"
log "done in $((SECONDS - started)) s"
echo "$prefix"
