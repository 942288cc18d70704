#!/usr/bin/env bash
# Checks the plug-in in Audacity 3.2 (Debian 12's package), headless under Xvfb, with a private
# home and its scripting pipe: Audacity must list the plug-in; a user preset with non-default
# values, loaded by Audacity and applied to the bundled example in a 44.1 kHz and a 48 kHz
# project, must render what kolvrane-host renders at the same rate and values, from the first
# sample. The steps are in tests/hosts/audacity/audacity_check.py.
#
# Usage: scripts/ci-audacity.sh [PLUGIN.so]   (default build/plugin/Kolvrane.so)
# Environment: KOLVRANE_HOST (default build/bin/kolvrane-host), KOLVRANE_CI_SUMMARY (a file the
# summary line is appended to), KOLVRANE_AUDACITY_KEEP=1 keeps the scratch folder.
# Installs Audacity, Xvfb and python3 when missing (Debian 12, as root). Takes about 30 seconds
# once installed (Audacity starts four times: the first start after a new plug-in only scans it).
set -euo pipefail

plugin=$(realpath -m "${1:-$(dirname "$0")/../build/plugin/Kolvrane.so}")
host=$(realpath -m "${KOLVRANE_HOST:-$(dirname "$0")/../build/bin/kolvrane-host}")
summary_file=${KOLVRANE_CI_SUMMARY:+$(realpath -m "$KOLVRANE_CI_SUMMARY")}
cd "$(dirname "$0")/.."

started=$SECONDS
fail() {
    echo "ci-audacity: FAIL: $*" >&2
    if [[ -n ${scratch:-} ]]; then
        trap - EXIT
        echo "ci-audacity: files kept in $scratch" >&2
    fi
    exit 1
}

install_audacity() {
    local packages=()
    command -v audacity >/dev/null && [[ -f /usr/lib/audacity/modules/mod-script-pipe.so ]] || packages+=(audacity)
    command -v xvfb-run >/dev/null || packages+=(xvfb xauth)
    command -v python3 >/dev/null || packages+=(python3)
    ((${#packages[@]})) || return 0
    echo "ci-audacity: installing ${packages[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get install -y --no-install-recommends "${packages[@]}" >/dev/null ||
        { apt-get update >/dev/null && apt-get install -y --no-install-recommends "${packages[@]}" >/dev/null; } ||
        fail "cannot install ${packages[*]}"
}

[[ -f $plugin ]] || fail "no plug-in at $plugin (build first)"
[[ -x $host ]] || fail "no kolvrane-host at $host (build first)"
install_audacity

scratch=$(mktemp -d /tmp/kolvrane-audacity.XXXXXX)
if [[ ${KOLVRANE_AUDACITY_KEEP:-0} != 1 ]]; then
    trap '[[ -n ${scratch:-} ]] && rm -rf "$scratch"' EXIT
fi

# Audacity's pipe names carry only the user id: one check at a time per user.
exec 9>"/tmp/kolvrane-audacity-pipe.$(id -u).lock"
flock 9

status=0
xvfb-run -a -s "-screen 0 1280x1024x24" timeout --kill-after=10 600 \
    python3 tests/hosts/audacity/audacity_check.py --plugin "$plugin" --host "$host" \
    --input examples/bassline-drums.wav --scratch "$scratch" >"$scratch/check.log" 2>&1 || status=$?
grep -v '^SUMMARY ' "$scratch/check.log" || true
if ((status != 0)); then
    tail -n 20 "$scratch/audacity.log" 2>/dev/null | sed 's/^/    audacity: /' >&2
    fail "the Audacity check failed (status $status)"
fi

summary="audacity: $(sed -n 's/^SUMMARY //p' "$scratch/check.log"); $((SECONDS - started)) s"
echo "$summary"
if [[ -n $summary_file ]]; then
    echo "$summary" >>"$summary_file"
fi
