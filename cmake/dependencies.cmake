# Every library below comes from a Debian 12 package; scripts/install-deps.sh installs them. The
# Windows build takes the same libraries cross-built as static libraries from Debian's source
# packages by scripts/win64-deps.sh (the toolchain file points the searches at that prefix).
find_package(PkgConfig REQUIRED)
if(WIN32)
    # Another prefix (other versions of the libraries): everything found in the old one is
    # looked for again.
    # (The old prefix is copied first: the loop unsets the cache entry that holds it, and an
    # empty text would be found in every value.)
    set(old_prefix "$CACHE{CASPO_WIN64_PREFIX_SEARCHED}")
    if(NOT old_prefix STREQUAL "" AND NOT old_prefix STREQUAL "${CASPO_WIN64_PREFIX}")
        get_cmake_property(cached CACHE_VARIABLES)
        foreach(name IN LISTS cached)
            get_property(value CACHE ${name} PROPERTY VALUE)
            string(FIND "${value}" "${old_prefix}" at)
            if(at GREATER_EQUAL 0 OR name MATCHES "^__pkg_config_checked_")
                unset(${name} CACHE)
            endif()
        endforeach()
    endif()
    set(CASPO_WIN64_PREFIX_SEARCHED "${CASPO_WIN64_PREFIX}" CACHE INTERNAL "")
    # Static libraries bring their own dependencies along: pkg-config's private libraries
    # (libcurl's OpenSSL and Winsock). OpenSSL itself is a pair of DLLs, one for the process.
    set(PKG_CONFIG_ARGN --static)
endif()
find_package(OpenSSL 3 REQUIRED)
find_package(SQLite3 REQUIRED)
find_package(GTest REQUIRED)
find_package(fmt REQUIRED)
find_package(spdlog REQUIRED)
pkg_check_modules(CURL REQUIRED IMPORTED_TARGET libcurl)
pkg_check_modules(JSONCPP REQUIRED IMPORTED_TARGET jsoncpp)
pkg_check_modules(PUGIXML REQUIRED IMPORTED_TARGET pugixml)
find_package(Threads REQUIRED)
include(GoogleTest)

# Only the Linux build has the reference backend (cpp-httplib) and the benchmarks.
if(NOT WIN32)
    find_package(benchmark REQUIRED)
    pkg_check_modules(HTTPLIB REQUIRED IMPORTED_TARGET cpp-httplib)
endif()
