#!/usr/bin/env python3
"""Drives Audacity 3.2 through its scripting pipe for scripts/ci-audacity.sh.

Python 3 standard library only. Audacity runs on the X display in $DISPLAY with HOME set to a
scratch folder; the plug-in sits in that home's ~/.vst. Checks, in order:
  1. Audacity lists the plug-in as an effect with 2 inputs and 2 outputs.
  2. A user preset with non-default values, in Audacity's own settings format (the plug-in's
     program chunk, made from the factory settings Audacity stored for it), is loaded and
     applied to the example in a 44100 Hz and in a 48000 Hz project after a restart of
     Audacity. Each export equals kolvrane-host's render at the same rate and values, sample for
     sample from the first one (no glide, no offset), and differs from the start-up values'.
Audacity 3.2's scripting cannot save a preset or add a realtime effect: the user preset is
written beside Audacity's settings, not saved from its dialog.
Prints one summary line on success; exits 1 with the reason otherwise.
"""

import argparse
import base64
import os
import queue
import re
import shutil
import signal
import struct
import subprocess
import sys
import threading
import time
from pathlib import Path

sys.dont_write_bytecode = True  # no cache files in the source tree
sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "ardour"))
from ardour_check import CheckError, read_wav  # noqa: E402

MODULE = Path("/usr/lib/audacity/modules/mod-script-pipe.so")
PLUGIN_GROUP = "Effect_VST_Quarry Audio Works_Kolvrane"
PRESET_NAME = "Kolvrane check"

# Normalized values away from the start-up preset, by host parameter name as Audacity's preset
# (the plug-in's program chunk) names them.
CHOSEN = {
    "Preamp": 0.2,
    "Filter 1 Type": 0.25,
    "Filter 1 Cutoff": 0.3,
    "Output Volume": 0.3,
    "Distortion Function": 0.4,
    "FX": 0.8,
}


def log(text):
    print(f"ci-audacity: {text}", flush=True)


# --- Audacity's configuration --------------------------------------------------------------


def write_config(home, scratch):
    """The scripting module enabled, no welcome dialog, float WAV export without dither."""
    stamp = time.strftime("%Y-%m-%dT%H:%M:%S", time.localtime(MODULE.stat().st_mtime))
    config = home / ".config" / "audacity"
    config.mkdir(parents=True, exist_ok=True)
    # Written afresh before every start, so no unsaved project of a run that was ended asks
    # for recovery.
    (config / "audacity.cfg").write_text(
        f"""[Module]
mod-script-pipe=1
[ModulePath]
mod-script-pipe={MODULE}
[ModuleDateTime]
mod-script-pipe={stamp}
[GUI]
ShowSplashScreen=0
[Directories]
TempDir={scratch / "audacity-temp"}
[Version]
Major=3
Minor=2
Micro=4
[FileFormats]
ExportFormat_SF1=65542
[FileFormats/ExportFormat_SF1_Type]
WAV_10000=65542
[Quality]
DitherAlgorithmChoice=None
HQDitherAlgorithmChoice=None
DefaultSampleFormatChoice=Format32BitFloat
"""
    )


def settings_file(home):
    return home / ".config" / "audacity" / "pluginsettings.cfg"


def group_header(path):
    key = base64.b64encode(PLUGIN_GROUP.encode()).decode().replace("=", "\\=")
    return f"[pluginsettings/base64\\:{key}/private/{path}]"


def read_group(home, path):
    """The keys of one of the plug-in's settings groups, or None."""
    text = settings_file(home).read_text(errors="replace") if settings_file(home).exists() else ""
    header = group_header(path)
    if header not in text:
        return None
    body = text.split(header, 1)[1].split("\n[", 1)[0]
    return dict(line.split("=", 1) for line in body.strip().splitlines() if "=" in line)


def chunk_xml(chunk_base64):
    chunk = base64.b64decode(chunk_base64)
    if chunk[:4] != b"VC2!":
        raise CheckError("the stored settings are no chunk of the plug-in")
    (length,) = struct.unpack_from("<I", chunk, 4)
    return chunk[8 : 8 + length].rstrip(b"\0").decode()


def add_user_preset(home):
    """A user preset made from the factory defaults Audacity stored, with the chosen values."""
    factory = read_group(home, "FactoryDefaults")
    if factory is None or "Chunk" not in factory:
        raise CheckError("Audacity stored no factory settings for the plug-in")
    xml = chunk_xml(factory["Chunk"])
    for name, value in CHOSEN.items():
        xml, found = re.subn(f'(<param name="{re.escape(name)}" value=")[^"]*', rf"\g<1>{value:g}", xml)
        if found != 1:
            raise CheckError(f"no parameter {name!r} in the plug-in's preset")
    xml = re.sub(r'^(<Preset [^>]*name=")[^"]*', rf"\g<1>{PRESET_NAME}", xml)
    text = xml.encode()
    chunk = b"VC2!" + struct.pack("<I", len(text) + 1) + text + b"\0\0"
    keys = {k: factory[k] for k in ("UniqueID", "Version", "Elements") if k in factory}
    keys["Chunk"] = base64.b64encode(chunk).decode()
    with settings_file(home).open("a") as out:
        out.write("\n" + group_header(f"UserPresets/{PRESET_NAME}") + "\n")
        out.writelines(f"{k}={v}\n" for k, v in keys.items())


# --- Audacity and its pipe -----------------------------------------------------------------


class Audacity:
    """One Audacity process and its scripting pipe."""

    def __init__(self, home, scratch, log_path):
        self.home, self.scratch, self.log_path = home, scratch, log_path
        self.process = None
        self.to_pipe = None
        self.lines = None

    def pipe(self, direction):
        return Path(f"/tmp/audacity_script_pipe.{direction}.{os.getuid()}")

    def start(self, answer_within):
        write_config(self.home, self.scratch)
        for direction in ("to", "from"):
            self.pipe(direction).unlink(missing_ok=True)  # a stopped Audacity leaves them behind
        env = dict(os.environ, HOME=str(self.home))
        with open(self.log_path, "ab") as out:
            self.process = subprocess.Popen(["audacity"], env=env, stdout=out, stderr=out, start_new_session=True)
        deadline = time.monotonic() + answer_within
        while not self.pipe("from").exists() and time.monotonic() < deadline and self.process.poll() is None:
            time.sleep(0.2)
        # The pipe exists before Audacity's main window does; a command sent that early gets an
        # empty answer and is lost.
        time.sleep(5)
        # Opening blocks until Audacity opens its ends; a thread keeps that within the limit and
        # then reads the answers line by line.
        lines = queue.Queue()
        opened = {}

        def serve():
            opened["to"] = open(self.pipe("to"), "w")
            with open(self.pipe("from"), "r") as answers:
                opened["from"] = True
                for line in answers:
                    lines.put(line.rstrip("\n"))
            lines.put(None)

        threading.Thread(target=serve, daemon=True).start()
        while "from" not in opened and time.monotonic() < deadline and self.process.poll() is None:
            time.sleep(0.1)
        if "from" not in opened:
            return False
        self.to_pipe, self.lines = opened["to"], lines
        try:
            self.command("Help: Command=Help", timeout=max(1.0, deadline - time.monotonic()))
            return True
        except CheckError:
            return False

    def stop(self):
        if self.process is not None and self.process.poll() is None:
            os.killpg(self.process.pid, signal.SIGTERM)
            try:
                self.process.wait(timeout=15)
            except subprocess.TimeoutExpired:
                os.killpg(self.process.pid, signal.SIGKILL)
                self.process.wait()
        self.process = None
        if self.to_pipe is not None:
            try:
                self.to_pipe.close()
            except OSError:
                pass
        self.to_pipe = self.lines = None

    def command(self, text, timeout=120.0):
        """Sends one command; returns its output. Raises unless Audacity answers OK."""
        self.to_pipe.write(text + "\n")
        self.to_pipe.flush()
        deadline = time.monotonic() + timeout
        output = []
        while True:
            try:
                line = self.lines.get(timeout=max(0.0, deadline - time.monotonic()))
            except queue.Empty:
                raise CheckError(f"Audacity did not answer {text!r}") from None
            if line is None:
                raise CheckError(f"Audacity closed its pipe after {text!r}")
            if line.startswith("BatchCommand finished:"):
                self.lines.get(timeout=5)  # the empty line that ends every answer
                if line.strip() != "BatchCommand finished: OK":
                    raise CheckError(f"Audacity: {text!r}: {line.strip()}: {' '.join(output)[-500:]}")
                return "\n".join(output)
            output.append(line)


def start_audacity(audacity):
    # On the first start after a new plug-in appears, Audacity scans it and the pipe stays
    # silent: quit and start again.
    for attempt in range(3):
        if audacity.start(answer_within=25 if attempt == 0 else 40):
            return attempt
        audacity.stop()
    raise CheckError("Audacity's scripting pipe never answered")


# --- Renders -------------------------------------------------------------------------------


def relabel_rate(source, target, rate):
    """The same samples declared at another rate, as the project file of that rate."""
    data = bytearray(Path(source).read_bytes())
    offset = 12
    while offset + 8 <= len(data):
        (size,) = struct.unpack_from("<I", data, offset + 4)
        if data[offset : offset + 4] == b"fmt ":
            channels = struct.unpack_from("<H", data, offset + 10)[0]
            bits = struct.unpack_from("<H", data, offset + 22)[0]
            struct.pack_into("<II", data, offset + 12, rate, rate * channels * bits // 8)
            break
        offset += 8 + size + (size & 1)
    Path(target).write_bytes(bytes(data))


def host_render(args, plugin, source, out, rate, values):
    command = [args.host, "--plugin", str(plugin), "--in", str(source), "--out", str(out), "--rate", str(rate)]
    command += ["--block", "8192"]
    for name, value in values.items():
        command += ["--set", f"{name[:15]}={value}"]
    result = subprocess.run(command, capture_output=True, text=True, timeout=300)
    if result.returncode != 0:
        raise CheckError(f"kolvrane-host failed: {result.stderr.strip()}")


def largest_difference(reference_path, test_path):
    """Largest difference with no offset, and the reference's peak. Lengths must agree."""
    _, reference = read_wav(reference_path)
    _, test = read_wav(test_path)
    if len(reference) != len(test) or len(reference[0]) != len(test[0]):
        raise CheckError(f"{test_path}: {len(test)} channels of {len(test[0])} frames, expected "
                         f"{len(reference)} of {len(reference[0])}")
    worst = max(abs(a - b) for r, t in zip(reference, test) for a, b in zip(r, t))
    peak = max(abs(a) for r in reference for a in r)
    return worst, peak


def apply_and_export(audacity, source, out, effect_command):
    audacity.command(f'Import2: Filename="{source}"')
    audacity.command("SelectAll:")
    audacity.command(effect_command)
    audacity.command(f'Export2: Filename="{out}" NumChannels=2')
    if not Path(out).exists():
        raise CheckError(f"Audacity exported nothing to {out}")


# --- The check -----------------------------------------------------------------------------


def run(args):
    scratch = Path(args.scratch)
    home = scratch / "home"
    (home / ".vst").mkdir(parents=True, exist_ok=True)
    plugin = home / ".vst" / "Kolvrane.so"
    shutil.copy(args.plugin, plugin)
    (scratch / "audacity-temp").mkdir(exist_ok=True)
    audacity = Audacity(home, scratch, scratch / "audacity.log")
    figures = []
    restarts = 0
    try:
        # 1. The plug-in is listed.
        restarts += start_audacity(audacity)
        commands = audacity.command("GetInfo: Type=Commands Format=JSON")
        entry = re.search(r'\{ "id":"Kolvrane", "name":"Kolvrane".*?"tip":"([^"]*)"', commands, re.S)
        if entry is None:
            raise CheckError("Audacity does not list the plug-in")
        if entry.group(1) != "Audio In: 2, Audio Out: 2":
            raise CheckError(f"Audacity lists the plug-in as {entry.group(1)!r}")
        log(f"listed: Kolvrane ({entry.group(1)})")
        audacity.stop()

        # 2. A user preset at two project rates.
        add_user_preset(home)
        tolerance_ulps = 8
        for rate in (44100, 48000):
            source = scratch / f"input-{rate}.wav"
            relabel_rate(args.input, source, rate)
            restarts += start_audacity(audacity)
            exported = scratch / f"audacity-{rate}.wav"
            apply_and_export(audacity, source, exported, f'Kolvrane: Use_Preset="User Preset:{PRESET_NAME}"')
            audacity.stop()

            expected = scratch / f"host-{rate}.wav"
            host_render(args, plugin, source, expected, rate, CHOSEN)
            worst, peak = largest_difference(expected, exported)
            tolerance = tolerance_ulps * peak * 2.0**-23
            if worst > tolerance:
                raise CheckError(f"at {rate} Hz Audacity's render differs from kolvrane-host's by {worst:.3g}")
            default = scratch / f"host-default-{rate}.wav"
            host_render(args, plugin, source, default, rate, {})
            if largest_difference(default, exported)[0] < 1e-3:
                raise CheckError(f"at {rate} Hz Audacity's render does not depend on the preset")
            log(f"{rate} Hz: user preset render equals kolvrane-host's (max |diff| {worst:.3g})")
            figures.append(f"{rate} Hz max |diff| {worst:.3g}")

    finally:
        audacity.stop()
    summary = "; ".join(figures)
    if restarts:
        summary += f"; {restarts} start(s) repeated for the plug-in scan"
    return summary


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--plugin", required=True)
    parser.add_argument("--host", required=True)
    parser.add_argument("--input", required=True)
    parser.add_argument("--scratch", required=True)
    args = parser.parse_args()
    try:
        print(f"SUMMARY {run(args)}")
    except CheckError as error:
        print(f"ci-audacity: FAIL: {error}", file=sys.stderr)
        sys.exit(1)


if __name__ == "__main__":
    main()
