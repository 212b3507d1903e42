#!/usr/bin/env bash
# The suite under the sanitizers: every test under AddressSanitizer with UndefinedBehavior-
# Sanitizer (preset asan), and the tests that run threads under ThreadSanitizer (preset tsan).
# A sanitizer report ends the program that made it with an error (scripts/ci-env.sh), so its
# test fails and so does this script.
#   scripts/test-sanitizers.sh [asan] [tsan]      (both when none is named)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/ci-env.sh

# The programs whose tests start threads of their own or run a server thread beside the code
# under test: the platform's locks, the log's concurrent writers, the store's shared object, the
# engine's connection sharing and callbacks, the host tests' DNS responder, and every
# integration program. Only they are built under the thread sanitizer; CTest lists the tests
# of the programs that were not built as *_NOT_BUILT, and the fuzz seed replays are left to the
# address sanitizer. The store's kill test is left out too: it forks a writer and kills it 200
# times, has no threads to check, and under the thread sanitizer no kill ever leaves a journal
# behind, so it fails as "proved nothing" (it runs in the default and asan steps).
tsan_targets=(platform_test venit_test tolva_test mirel_test host_test session_integration_test
              download_integration_test backend_test cli_test)
tsan_skip='_NOT_BUILT$|^fuzz_seeds[.]|^DurabilityTest[.]FirstLoadAfterAWriterKilledMidSaveHealsTheStore$'

# The programs CTest runs in a build folder, read from its test files: the GoogleTest programs
# and the fuzz seed replays. Only they (and what they depend on) are built, not the benchmarks.
test_programs() {
    grep -rhoE '[A-Za-z0-9_]+\[1\]_include\.cmake' "$1" --include=CTestTestfile.cmake |
        sed 's/\[1\]_include\.cmake$//'
    grep -rhoE 'add_test\(\[=\[fuzz_seeds\.[A-Za-z0-9_]+' "$1" --include=CTestTestfile.cmake |
        sed 's/.*fuzz_seeds\.//'
}

run_asan() {
    scripts/timed.sh "asan configure" cmake --preset asan
    mapfile -t programs < <(test_programs build-asan | sort -u)
    scripts/timed.sh "asan build" cmake --build --preset asan --target "${programs[@]}"
    scripts/timed.sh "asan tests" ctest --preset asan
}

run_tsan() {
    scripts/timed.sh "tsan configure" cmake --preset tsan
    scripts/timed.sh "tsan build" cmake --build --preset tsan --target "${tsan_targets[@]}"
    scripts/timed.sh "tsan tests" ctest --preset tsan -E "$tsan_skip"
}

scripts/install-deps.sh
presets=("$@")
[ ${#presets[@]} -eq 0 ] && presets=(asan tsan)
for preset in "${presets[@]}"; do
    case "$preset" in
        asan) run_asan ;;
        tsan) run_tsan ;;
        *) echo "test-sanitizers: unknown preset $preset (asan or tsan)" >&2; exit 2 ;;
    esac
done
