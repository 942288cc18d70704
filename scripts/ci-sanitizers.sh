#!/usr/bin/env bash
# Sanitizer CI, in two parts (both when no part is named):
#
#   asan  AddressSanitizer + UndefinedBehaviorSanitizer build in build-asan/: every test target,
#         then the whole CTest suite.
#   tsan  ThreadSanitizer build in build-tsan/: the threading stress tests, selected by name, so
#         a new test named like "...ConcurrentEdits..." or "ThreadStress..." is picked up
#         without touching this file: every CTest test matching the regex $KOLVRANE_TSAN_TESTS
#         (default '[Tt]hread|[Ss]tress|[Cc]oncurren'), and every whole-executable CTest entry
#         (no '.' in its name, e.g. kolvrane_validation) with GTEST_FILTER=$KOLVRANE_TSAN_FILTER
#         (default '*Thread*:*thread*:*Stress*:*stress*:*Concurren*:*concurren*') choosing the
#         same tests inside it.
#
# Any sanitizer report is fatal: the process stops at the first one and the part fails. Reports
# go to files in <build dir>/sanitizer-reports/, which are counted and printed. Leaks are
# checked; tests/sanitizers/lsan.supp may only name leaks inside third-party code (JUCE and the
# system libraries under it), never ours. Each part prints a summary and appends one line to
# $KOLVRANE_CI_SUMMARY when that is set.
#
# Usage: scripts/ci-sanitizers.sh [asan] [tsan]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
jobs=${KOLVRANE_JOBS:-2}
suppressions=$root/tests/sanitizers
tsan_tests=${KOLVRANE_TSAN_TESTS:-'[Tt]hread|[Ss]tress|[Cc]oncurren'}
tsan_filter=${KOLVRANE_TSAN_FILTER:-'*Thread*:*thread*:*Stress*:*stress*:*Concurren*:*concurren*'}

parts=("$@")
((${#parts[@]})) || parts=(asan tsan)

./scripts/setup.sh

summary() {
    echo "$1"
    if [[ -n ${KOLVRANE_CI_SUMMARY:-} ]]; then
        echo "$1" >>"$KOLVRANE_CI_SUMMARY"
    fi
}

# -O1 keeps the instrumented tests fast enough at a fraction of -O3's compile time; NDEBUG as in
# the release build. The benchmarks are not tests and are left out.
configure_and_build() {
    local dir=$1 sanitize=$2
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O1 -DNDEBUG" -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -DNDEBUG" \
        -DKOLVRANE_SANITIZE="$sanitize" -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON
    cmake --build "$dir" -j"$jobs"
}

# Runs CTest (extra arguments select tests) and the report check; sets tests_run and reports.
run_tests() {
    local dir=$1 reports_dir=$2
    shift 2
    local log=$dir/ctest.log status=0
    # The editor tests need an X display; the validation suite writes its own summary line,
    # which belongs to the normal test run only.
    local run=(env -u KOLVRANE_CI_SUMMARY)
    if [[ -z ${DISPLAY:-} ]] && command -v xvfb-run >/dev/null; then
        run+=(xvfb-run -a -s "-screen 0 1280x1024x24")
    fi
    "${run[@]}" ctest --test-dir "$dir" --output-on-failure --no-tests=error --timeout 900 -j"$jobs" "$@" 2>&1 |
        tee "$log" || status=$?
    tests_run=$(sed -n 's/.*tests failed out of \([0-9]*\).*/\1/p' "$log" | tail -1)
    tests_run=${tests_run:-0}
    reports=0
    if compgen -G "$reports_dir/*" >/dev/null; then
        reports=$(cat "$reports_dir"/* | grep -c '^SUMMARY: ' || true)
        ((reports > 0)) || reports=$(find "$reports_dir" -type f | wc -l)
        echo "---- sanitizer reports ($reports_dir) ----"
        cat "$reports_dir"/*
    fi
    return "$status"
}

finish_part() {
    local name=$1 status=$2 started=$3
    local result=PASS
    ((status == 0 && reports == 0)) || result=FAIL
    summary "sanitizers/$name: $result tests_run=$tests_run sanitizer_reports=$reports wall_s=$((SECONDS - started))"
    [[ $result == PASS ]]
}

asan_part() {
    local started=$SECONDS dir=build-asan status=0
    local reports_dir=$root/$dir/sanitizer-reports
    rm -rf "$reports_dir" && mkdir -p "$reports_dir"
    # Exported before the build: test discovery runs the instrumented binaries too.
    export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1:log_path=$reports_dir/asan"
    export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:report_error_type=1:log_path=$reports_dir/ubsan"
    export LSAN_OPTIONS="suppressions=$suppressions/lsan.supp:print_suppressions=0"
    configure_and_build "$dir" address,undefined || { tests_run=0 reports=0; finish_part asan 1 "$started"; return 1; }
    rm -f "$reports_dir"/*
    run_tests "$dir" "$reports_dir" || status=$?
    finish_part asan "$status" "$started"
}

tsan_part() {
    local started=$SECONDS dir=build-tsan status=0
    local reports_dir=$root/$dir/sanitizer-reports
    rm -rf "$reports_dir" && mkdir -p "$reports_dir"
    export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:suppressions=$suppressions/tsan.supp:log_path=$reports_dir/tsan"
    configure_and_build "$dir" thread || { tests_run=0 reports=0; finish_part tsan 1 "$started"; return 1; }
    rm -f "$reports_dir"/*
    GTEST_FILTER=$tsan_filter run_tests "$dir" "$reports_dir" -R "$tsan_tests|^[^.]+\$" || status=$?
    finish_part tsan "$status" "$started"
}

failed=0
for part in "${parts[@]}"; do
    case $part in
    asan) asan_part || failed=1 ;;
    tsan) tsan_part || failed=1 ;;
    *)
        echo "unknown part: $part (asan, tsan)" >&2
        exit 2
        ;;
    esac
done
exit "$failed"
