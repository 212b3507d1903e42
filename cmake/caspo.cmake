# Build conventions shared by every folder.

# The product version has four numbers: the project version and a build number.
if(NOT DEFINED CASPO_BUILD_NUMBER)
    execute_process(
        COMMAND git rev-list --count HEAD
        WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
        OUTPUT_VARIABLE _caspo_commits
        OUTPUT_STRIP_TRAILING_WHITESPACE
        ERROR_QUIET
        RESULT_VARIABLE _caspo_git_result)
    if(_caspo_git_result EQUAL 0 AND _caspo_commits MATCHES "^[0-9]+$")
        set(CASPO_BUILD_NUMBER ${_caspo_commits})
    else()
        set(CASPO_BUILD_NUMBER 0)
    endif()
endif()
set(CASPO_PRODUCT_VERSION "${PROJECT_VERSION}.${CASPO_BUILD_NUMBER}")

if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    add_compile_options(-Wall -Wextra -Wshadow -Wnon-virtual-dtor -Wformat=2)
endif()

if(CASPO_SANITIZE)
    add_compile_options(-fsanitize=${CASPO_SANITIZE} -fno-omit-frame-pointer)
    add_link_options(-fsanitize=${CASPO_SANITIZE})
endif()

if(WIN32)
    include(${CMAKE_CURRENT_LIST_DIR}/windows.cmake)
endif()

# caspo_static_library(<name> <sources>...): one folder's code as a static library.
function(caspo_static_library name)
    add_library(${name} STATIC ${ARGN})
    target_link_libraries(${name} PUBLIC caspo_interfaces)
endfunction()

# caspo_gtest(<name> SOURCES <files>... LIBS <targets>...): a GoogleTest program whose
# tests CTest lists one by one. Every test (and the listing) runs through a launcher that puts the
# utility library's log in the build folder and gives the tests a data folder of their own
# instead of the user's: cmake/test-env.sh.in, which also lets the sibling libraries be found
# through LD_LIBRARY_PATH (under the sanitizers dlopen runs from the sanitizer's runtime, which
# does not see the program's RUNPATH); on Windows cmake/test-env-wine.sh.in, which runs the
# program under Wine.
#
# LINUX_ONLY <files>... REASON <text>: sources whose tests need what only Linux has (network
# namespaces, fork, signals, a tinyproxy). The Windows build leaves them out and lists one
# skipped test, <name>.linux_only, whose output gives the reason.
# WINDOWS_ONLY <files>...: the Windows side of a rule whose POSIX side is in LINUX_ONLY files.
if(WIN32)
    caspo_wine_test_env()
else()
    configure_file(${CMAKE_CURRENT_LIST_DIR}/test-env.sh.in ${CMAKE_BINARY_DIR}/test-env.sh
        FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                         WORLD_READ WORLD_EXECUTE
        @ONLY)
endif()
function(caspo_gtest name)
    cmake_parse_arguments(ARG "" "REASON" "SOURCES;LIBS;LINUX_ONLY;WINDOWS_ONLY" ${ARGN})
    set(sources ${ARG_SOURCES})
    if(WIN32)
        list(APPEND sources ${ARG_WINDOWS_ONLY})
    else()
        list(APPEND sources ${ARG_LINUX_ONLY})
    endif()
    add_executable(${name} ${sources})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gmock GTest::gtest_main)
    # GoogleTest's discovery runs the program and each test through the launcher.
    set_target_properties(${name} PROPERTIES CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/test-env.sh)
    if(WIN32)
        # Listed when CTest runs, so that building needs no Wine.
        gtest_discover_tests(${name} DISCOVERY_TIMEOUT 120 NO_PRETTY_VALUES
            DISCOVERY_MODE PRE_TEST)
        if(ARG_LINUX_ONLY)
            caspo_linux_only_marker(${name} "${ARG_REASON}" ${ARG_LINUX_ONLY})
        endif()
    else()
        gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 NO_PRETTY_VALUES)
    endif()
endfunction()
