# What the Windows build (the `mingw` preset) adds to the build conventions.

# Resource scripts (rosta.dll's message table).
enable_language(RC)

# Modules carry their Windows names: caspo.dll, mirel.dll, ... and caspo.lib-style import
# libraries, without the "lib" that mingw-w64 would put before them.
set(CMAKE_SHARED_LIBRARY_PREFIX "")
set(CMAKE_SHARED_MODULE_PREFIX "")
set(CMAKE_IMPORT_LIBRARY_PREFIX "")

# One C++ runtime for every module of a process (an object made in one DLL is freed in another,
# exceptions cross module boundaries): mingw-w64's runtime DLLs, copied beside the programs and
# the libraries, as an installation ships them; and so OpenSSL's.
set(caspo_runtime_dlls "")
foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
    execute_process(
        COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
        OUTPUT_VARIABLE found
        OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT IS_ABSOLUTE "${found}")
        # winpthread lives in the target's system folder, not the compiler's.
        find_file(found_${dll} ${dll} PATHS /usr/x86_64-w64-mingw32/lib NO_DEFAULT_PATH)
        set(found ${found_${dll}})
    endif()
    if(NOT EXISTS "${found}")
        message(FATAL_ERROR "mingw-w64 runtime ${dll} not found")
    endif()
    list(APPEND caspo_runtime_dlls ${found})
endforeach()
# OpenSSL's DLLs from the prefix of scripts/win64-deps.sh: one OpenSSL for every module, as
# certificates and TLS contexts pass between them.
file(GLOB caspo_openssl_dlls "${CASPO_WIN64_PREFIX}/bin/libcrypto-*.dll"
     "${CASPO_WIN64_PREFIX}/bin/libssl-*.dll")
if(NOT caspo_openssl_dlls)
    message(FATAL_ERROR "OpenSSL's DLLs are not in ${CASPO_WIN64_PREFIX}/bin (scripts/win64-deps.sh)")
endif()
list(APPEND caspo_runtime_dlls ${caspo_openssl_dlls})
add_custom_target(caspo_mingw_runtime ALL
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${caspo_runtime_dlls}
            ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}
    COMMENT "Copying the mingw-w64 runtime DLLs")

# The Windows form of a path of this machine as a Windows program under Wine sees it (Z: is the
# root of the Linux file system).
function(caspo_wine_path out path)
    string(REPLACE "/" "\\\\" windows "${path}")
    set(${out} "Z:${windows}" PARENT_SCOPE)
endfunction()

# The launcher of the test programs: wine64, a Wine prefix of the build folder's own (its user
# folders are the tests' data folders), the utility library's log in the build folder.
macro(caspo_wine_test_env)
    find_program(CASPO_WINE NAMES wine64 PATHS /usr/lib/wine NO_DEFAULT_PATH)
    find_program(CASPO_WINE NAMES wine64 wine)
    if(NOT CASPO_WINE)
        message(WARNING "wine64 not found: the Windows tests cannot run (install wine64)")
        set(CASPO_WINE wine64)
    endif()
    set(CASPO_WINEPREFIX ${CMAKE_BINARY_DIR}/wine-prefix)
    caspo_wine_path(CASPO_WINE_LOG_FILE ${CMAKE_BINARY_DIR}/test-logs/venit.log)
    configure_file(${CMAKE_CURRENT_LIST_DIR}/test-env-wine.sh.in ${CMAKE_BINARY_DIR}/test-env.sh
        FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                         WORLD_READ WORLD_EXECUTE
        @ONLY)
endmacro()

# One skipped test for the sources a test program leaves out on Windows; its output names them
# and gives the reason.
function(caspo_linux_only_marker name reason)
    if(NOT reason)
        message(FATAL_ERROR "${name}: LINUX_ONLY sources need a REASON")
    endif()
    list(JOIN ARGN ", " files)
    add_test(NAME ${name}.linux_only
        COMMAND ${CMAKE_COMMAND} -E echo "SKIPPED on Windows: ${files}: ${reason}")
    set_tests_properties(${name}.linux_only PROPERTIES SKIP_REGULAR_EXPRESSION "SKIPPED on Windows")
endfunction()
