# Cross-compiles for 64-bit Windows with mingw-w64 (the POSIX-threads variant, for std::thread).
#
# CASPO_WIN64_PREFIX (a cache variable or the environment variable of that name) is the prefix
# that scripts/win64-deps.sh fills with the cross-built libraries; packages and pkg-config files
# are looked for there and in the mingw-w64 system folder only.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

if(NOT CASPO_WIN64_PREFIX AND DEFINED ENV{CASPO_WIN64_PREFIX})
    set(CASPO_WIN64_PREFIX "$ENV{CASPO_WIN64_PREFIX}")
endif()
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES CASPO_WIN64_PREFIX)

set(CMAKE_FIND_ROOT_PATH ${CASPO_WIN64_PREFIX} /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

if(CASPO_WIN64_PREFIX)
    set(ENV{PKG_CONFIG_LIBDIR} "${CASPO_WIN64_PREFIX}/lib/pkgconfig")
    set(ENV{PKG_CONFIG_PATH} "")
    set(ENV{PKG_CONFIG_SYSROOT_DIR} "")
endif()
