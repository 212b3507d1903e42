# Sourced by .ci/run and the CI scripts: ccache when the machine has it, and sanitizer options under which
# any report ends the program with an error, so the test it happened in fails and the run with
# it. AddressSanitizer and LeakSanitizer do that by default; UndefinedBehaviorSanitizer only
# prints unless halt_on_error is set; ThreadSanitizer ends the program with exit code 66 after
# a report. Programs the tests start (caspo, caspo-backend, tinyproxy's clients) inherit them.
if command -v ccache >/dev/null 2>&1; then
    export CMAKE_C_COMPILER_LAUNCHER=${CMAKE_C_COMPILER_LAUNCHER:-ccache}
    export CMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER:-ccache}
fi
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}
export TSAN_OPTIONS=${TSAN_OPTIONS:-exitcode=66:second_deadlock_stack=1}
