#!/usr/bin/env bash
# Checks the Windows build under Wine against the Linux build: the same identity, parameters,
# display texts and capability answers; the same audio at every quality (within 1e-6); state
# chunks that restore across the two builds byte for byte; a corrupt chunk changing nothing;
# "Kolvrane.ini" written beside the DLL; and the editor opened in a Win32 window (a screenshot,
# under Xvfb when there is no display). Builds both first; installs Wine when missing (as root).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
started=$SECONDS

dll=$(./scripts/build-windows.sh | tail -n1)
# The Linux build to compare with: build/ unless KOLVRANE_LINUX_BUILD names one already built.
linux_build=${KOLVRANE_LINUX_BUILD:-}
if [[ -z $linux_build ]]; then
    ./scripts/build.sh >/dev/null
    linux_build=$root/build
fi
host_exe=$(dirname "$dll")/../bin/kolvrane-host.exe
linux_host=$linux_build/bin/kolvrane-host
linux_plugin=$linux_build/plugin/Kolvrane.so

./scripts/setup.sh wine64 python3
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
wineserver=$(command -v wineserver || echo "$(dirname "$wine")/wineserver")

work=$(mktemp -d)
trap '"$wineserver" -k 2>/dev/null || true; rm -rf "$work"' EXIT
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
"$wine" wineboot -i >/dev/null 2>&1
# A private copy of each module, so that each writes its settings file into a fresh folder.
mkdir -p "$work/win" "$work/linux"
cp "$dll" "$work/win/Kolvrane.dll"
cp "$linux_plugin" "$work/linux/Kolvrane.so"
win() { "$wine" "$host_exe" --plugin "$work/win/Kolvrane.dll" "$@" | tr -d '\r'; }
lin() { "$linux_host" --plugin "$work/linux/Kolvrane.so" "$@"; }
failures=0
check() {
    if "${@:2}"; then echo "ok: $1"; else echo "FAILED: $1"; failures=$((failures + 1)); fi
}

lin --info | tail -n +2 >"$work/linux.info"
win --info | tail -n +2 >"$work/win.info"
check "identity, parameters, display texts and canDo answers as on Linux" diff "$work/linux.info" "$work/win.info"

# The state chunk that selects a quality (applied at the resume before rendering).
quality_chunk() {
    python3 - "$1" "$2" <<'PY'
import struct, sys
xml = ('<PluginState application="Kolvrane"><UniqueData quality="%s"/></PluginState>' % sys.argv[1]).encode()
open(sys.argv[2], "wb").write(b"VC2!" + struct.pack("<I", len(xml) + 1) + xml + b"\0\0")
PY
}
largest_difference() {
    python3 - "$1" "$2" <<'PY'
import struct, sys
def samples(path):
    data = open(path, "rb").read()
    at = 12
    while at < len(data):
        tag, size = data[at:at + 4], struct.unpack("<I", data[at + 4:at + 8])[0]
        if tag == b"data":
            body = data[at + 8:at + 8 + size]
            return struct.unpack("<%df" % (len(body) // 4), body)
        at += 8 + size + (size & 1)
    raise SystemExit("no data in " + path)
a, b = samples(sys.argv[1]), samples(sys.argv[2])
if len(a) != len(b):
    raise SystemExit("lengths differ: %d and %d" % (len(a), len(b)))
print(max((abs(x - y) for x, y in zip(a, b)), default=0.0))
PY
}
settings=(--set Preamp=0.8 --set 4=0.25 --set 7=0.9 --set 14=0.75 --set 20=0.6 --set 21=0.7)
for quality in low medium high highest; do
    quality_chunk "$quality" "$work/$quality.chunk"
    lin --load-state "$work/$quality.chunk" "${settings[@]}" --in examples/bassline-drums.wav --out "$work/linux-$quality.wav" >/dev/null
    win --load-state "$work/$quality.chunk" "${settings[@]}" --in examples/bassline-drums.wav --out "$work/win-$quality.wav" >/dev/null
    difference=$(largest_difference "$work/linux-$quality.wav" "$work/win-$quality.wav")
    check "render at quality $quality within 1e-6 (largest difference $difference)" \
        python3 -c "import sys; sys.exit(0 if float('$difference') <= 1e-6 else 1)"
done

lin "${settings[@]}" --save-state "$work/from-linux.chunk" >/dev/null
win --load-state "$work/from-linux.chunk" --save-state "$work/linux-via-win.chunk" >/dev/null
check "a Linux state chunk restores in the Windows build byte for byte" cmp "$work/from-linux.chunk" "$work/linux-via-win.chunk"
win "${settings[@]}" --save-state "$work/from-win.chunk" >/dev/null
lin --load-state "$work/from-win.chunk" --save-state "$work/win-via-linux.chunk" >/dev/null
check "a Windows state chunk restores in the Linux build byte for byte" cmp "$work/from-win.chunk" "$work/win-via-linux.chunk"

head -c 40 "$work/from-win.chunk" >"$work/corrupt.chunk"
printf 'garbage' >>"$work/corrupt.chunk"
win "${settings[@]}" --load-state "$work/corrupt.chunk" --save-state "$work/after-corrupt.chunk" >/dev/null || true
check "a corrupt chunk changes nothing" cmp "$work/from-win.chunk" "$work/after-corrupt.chunk"
check "Kolvrane.ini written beside the DLL" test -s "$work/win/Kolvrane.ini"

screenshot=$work/editor.png
run_x=()
[[ -z ${DISPLAY:-} ]] && run_x=(xvfb-run -a -s "-screen 0 1280x1024x24")
# The Wine server started above has no display; the windowed run needs one of its own.
"$wineserver" -k 2>/dev/null || true
"$wineserver" -w 2>/dev/null || true
"${run_x[@]}" "$wine" "$host_exe" --plugin "$work/win/Kolvrane.dll" --screenshot "$screenshot" >/dev/null 2>&1 || true
mkdir -p "$root/out"
[[ -s $screenshot ]] && cp "$screenshot" "$root/out/editor-windows.png"
check "the editor opens in a Win32 window (screenshot out/editor-windows.png)" test -s "$screenshot"

echo "windows checks: $failures failed, $((SECONDS - started)) s"
if [[ -n ${KOLVRANE_CI_SUMMARY:-} ]]; then
    echo "windows: $failures failed checks, DLL $(stat -c %s "$dll") bytes" >>"$KOLVRANE_CI_SUMMARY"
fi
((failures == 0))
