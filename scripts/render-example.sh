#!/usr/bin/env bash
# Sets up, builds, installs the plug-in into ~/.vst and renders the bundled example through it
# with the project's own host: out/bassline-drums-kolvrane.wav.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
./scripts/build.sh

mkdir -p "$HOME/.vst" out
install -m 0755 build/plugin/Kolvrane.so "$HOME/.vst/Kolvrane.so"

host=build/bin/kolvrane-host
"$host" --plugin "$HOME/.vst/Kolvrane.so" --info
# Parameters by the names a VST host sees (at most 15 characters: "Distortion Func").
"$host" --plugin "$HOME/.vst/Kolvrane.so" --set "Preamp=0.7" --set "Distortion Func=0.2" \
    --in examples/bassline-drums.wav --out out/bassline-drums-kolvrane.wav
echo "Rendered out/bassline-drums-kolvrane.wav"
