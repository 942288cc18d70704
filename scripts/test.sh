#!/usr/bin/env bash
# Sets up, builds and runs every test. The editor tests need an X display: without one the tests
# run under a virtual X server.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
./scripts/build.sh
run=()
if [[ -z "${DISPLAY:-}" ]] && command -v xvfb-run >/dev/null; then
    run=(xvfb-run -a -s "-screen 0 1280x1024x24")
fi
"${run[@]}" ctest --test-dir build --output-on-failure -j"${KOLVRANE_JOBS:-2}"
