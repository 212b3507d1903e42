#!/usr/bin/env bash
# Builds the libFuzzer targets (preset fuzz, clang) and runs each for a bounded time, starting
# from its seed corpus. The seeds themselves are replayed by every test run (fuzz_seeds.*);
# this adds a short search for new inputs. A crash, a leak, a report of the sanitizers or a
# broken check ends the target with an error and fails the script; the input that did it is
# kept in build-fuzz/artifacts/.
#   FUZZ_SECONDS=N scripts/fuzz-ci.sh      (N seconds per target, 15 by default)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/ci-env.sh
seconds=${FUZZ_SECONDS:-15}

scripts/install-deps.sh
targets=()
for source in fuzz/*_fuzz.cpp; do
    targets+=("$(basename "$source" .cpp)")
done
scripts/timed.sh "fuzz configure" cmake --preset fuzz
scripts/timed.sh "fuzz build" cmake --build --preset fuzz --target "${targets[@]}"

artifacts=build-fuzz/artifacts
mkdir -p "$artifacts"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
for target in "${targets[@]}"; do
    # libFuzzer adds what it finds to the first folder: a scratch one, so the seeds in the
    # repository stay as they are.
    mkdir -p "$scratch/$target"
    seeds=()
    if [ -d "fuzz/corpus/$target" ]; then
        seeds=("fuzz/corpus/$target")
    fi
    start=$SECONDS
    "build-fuzz/bin/$target" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
        -artifact_prefix="$artifacts/$target-" "$scratch/$target" "${seeds[@]}" \
        2> "$scratch/$target.log" || { tail -n 60 "$scratch/$target.log" >&2; exit 1; }
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$scratch/$target.log")
    echo "[ci] fuzz $target: $((SECONDS - start)) s, ${runs:-?} inputs" >&2
done
