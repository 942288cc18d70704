#!/usr/bin/env bash
# Fuzzing CI: one libFuzzer binary (tests/fuzz) over every reader of untrusted input: host state
# and program chunks, preset (.kvprs) and bank (.kvprsb) files, MIDI map files and the user
# settings file; the first input byte picks the reader.
#
# Builds it with clang-14 and -fsanitize=fuzzer,address,undefined in build-fuzz/ (a separate
# configure with KOLVRANE_FUZZ=ON: only the shared code library and the fuzz target), replays
# the saved crash inputs in tests/fuzz/regressions/, then fuzzes for $KOLVRANE_FUZZ_SECONDS
# (default 120) from a seed corpus: inputs made by the plug-in's own writers, the bundled
# resources and the hand-made inputs in tests/fuzz/seeds/. New crashing inputs land in
# build-fuzz/crashes/; each is a product fault to fix and to keep in tests/fuzz/regressions/.
# Prints executions and crashes and appends one line to $KOLVRANE_CI_SUMMARY when set.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
jobs=${KOLVRANE_JOBS:-2}
seconds=${KOLVRANE_FUZZ_SECONDS:-120}
dir=$root/build-fuzz
fuzzer=$dir/tests/fuzz/kolvrane_fuzz
started=$SECONDS

./scripts/setup.sh
# libFuzzer and clang's sanitizer runtimes come with these two.
fuzz_packages=(clang-14 libclang-rt-14-dev)
for package in "${fuzz_packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        export DEBIAN_FRONTEND=noninteractive
        apt-get install -y --no-install-recommends "${fuzz_packages[@]}" ||
            { apt-get update && apt-get install -y --no-install-recommends "${fuzz_packages[@]}"; }
        break
    fi
done

summary() {
    echo "$1"
    if [[ -n ${KOLVRANE_CI_SUMMARY:-} ]]; then
        echo "$1" >>"$KOLVRANE_CI_SUMMARY"
    fi
}

fail() {
    summary "fuzz: FAIL $1 wall_s=$((SECONDS - started))"
    exit 1
}

# fuzzer-no-link instruments every object, JUCE's included, for coverage; only the fuzz target
# links libFuzzer's main.
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 \
    -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O1 -DNDEBUG" -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -DNDEBUG" \
    -DKOLVRANE_FUZZ=ON -DKOLVRANE_SANITIZE=fuzzer-no-link,address,undefined \
    -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON || fail "configure"
cmake --build "$dir" -j"$jobs" --target kolvrane_fuzz || fail "build"

export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1:detect_stack_use_after_return=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:report_error_type=1"

# Every input that ever crashed must stay fixed.
regressions=(tests/fuzz/regressions/*)
if [[ -e ${regressions[0]} ]]; then
    "$fuzzer" -runs=1 "${regressions[@]}" || fail "regression_inputs=${#regressions[@]}"
fi

seeds=$dir/seeds corpus=$dir/corpus crashes=$dir/crashes
rm -rf "$seeds" "$crashes" && mkdir -p "$seeds" "$corpus" "$crashes"
KOLVRANE_FUZZ_WRITE_SEEDS=$seeds "$fuzzer"
resources=product/resources
for reader in 2 3; do
    printf '%s' "$reader" | cat - "$resources/DEFAULT.kvprs" >"$seeds/resource-$reader-DEFAULT.kvprs"
    printf '%s' "$reader" | cat - "$resources/DEFAULT.kvprsb" >"$seeds/resource-$reader-DEFAULT.kvprsb"
done
printf '4' | cat - "$resources/parameters.xml" >"$seeds/resource-4-parameters.xml"

log=$dir/fuzz.log status=0
"$fuzzer" -max_total_time="$seconds" -max_len=16384 -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$crashes/" "$corpus" "$seeds" tests/fuzz/seeds 2>&1 | tee "$log" || status=$?

executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
found=$(find "$crashes" -type f | wc -l)
result=PASS
((status == 0 && found == 0)) || result=FAIL
summary "fuzz: $result executions=${executions:-0} crashes=$found seconds=$seconds corpus=$(find "$corpus" -type f | wc -l) regression_inputs=$(find tests/fuzz/regressions -type f | wc -l) wall_s=$((SECONDS - started))"
if [[ $result == FAIL ]]; then
    find "$crashes" -type f -exec echo "crashing input: {}" \;
    exit 1
fi
