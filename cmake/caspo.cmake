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

# caspo_static_library(<name> <sources>...): one folder's code as a static library.
function(caspo_static_library name)
    add_library(${name} STATIC ${ARGN})
    target_link_libraries(${name} PUBLIC caspo_interfaces)
endfunction()

# caspo_gtest(<name> SOURCES <files>... LIBS <targets>...): a GoogleTest program whose
# tests CTest lists one by one. Every test (and the listing) runs through cmake/test-env.sh.in,
# which puts the utility library's log in the build folder, gives the tests a data folder of
# their own instead of the user's, and lets the sibling libraries be found through
# LD_LIBRARY_PATH too: under the sanitizers dlopen runs from the sanitizer's runtime, which does
# not see the program's RUNPATH.
configure_file(${CMAKE_CURRENT_LIST_DIR}/test-env.sh.in ${CMAKE_BINARY_DIR}/test-env.sh
    FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                     WORLD_READ WORLD_EXECUTE
    @ONLY)
function(caspo_gtest name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gmock GTest::gtest_main)
    # GoogleTest's discovery runs the program and each test through this launcher.
    set_target_properties(${name} PROPERTIES CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/test-env.sh)
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 NO_PRETTY_VALUES)
endfunction()
