#!/usr/bin/env python3
"""Writes Kolvrane's factory preset bank and checks every preset by rendering audio through it.

    make_factory_bank.py                 write product/resources/DEFAULT.kvprsb
    make_factory_bank.py --check         render the example loop through every preset of the
                                         written bank and report peak and RMS levels
    make_factory_bank.py --check --only NAME ...

The presets themselves are the tables in factory_presets.py, in dB, Hz and percent. The bank is
written the way the plug-in's own XML writer writes it, so the file and a bank saved from the
plug-in compare line by line. Python 3 standard library only.
"""

import argparse
import array
import math
import os
import struct
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ElementTree
from concurrent.futures import ThreadPoolExecutor

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import factory_presets  # noqa: E402
import kolvrane_units as units  # noqa: E402
from preset_model import validate  # noqa: E402

REPO = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
BANK_PATH = os.path.join(REPO, "product", "resources", "DEFAULT.kvprsb")
PLUGIN = os.path.join(REPO, "build", "plugin", "Kolvrane.so")
HOST_CANDIDATES = [
    os.path.join(REPO, "build", "tools", "kolvrane-host", "kolvrane-host"),
    os.path.join(REPO, "build", "bin", "kolvrane-host"),
    os.path.join(REPO, "build", "tools", "kolvrane-host", "kolvrane-host_artefacts", "Release", "kolvrane-host"),
]
HOST = next((p for p in HOST_CANDIDATES if os.path.exists(p)), HOST_CANDIDATES[0])
EXAMPLE = os.path.join(REPO, "examples", "bassline-drums.wav")

APPLICATION = "Kolvrane"
PRESET_REVISION = "1"
SLOT_COUNT = 128
NEWLINE = "\r\n"
LINE_WRAP = 60

# Level limits of --check, measured on the rendered example.
SILENT_RMS_DB = -50.0
MAX_PEAK_DB = 1.0
MAX_SAMPLES_OVER_FULL_SCALE = 20
TARGET_RMS_DB = -14.0
TARGET_MAX_PEAK_DB = -1.0


# --- Writing --------------------------------------------------------------------------------


def stored_value_text(v):
    """A value as presets store it: round(v * 1e6) in single precision, times 1e-6, "%.9g"."""
    as_float = struct.unpack("<f", struct.pack("<f", v))[0]
    scaled = struct.unpack("<f", struct.pack("<f", as_float * 1000000.0))[0]
    return "%.9g" % (round(scaled) * 0.000001)


def escape(text):
    legal = set("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 .,;:-()_+=?!$#@[]/|*%~{}'\\")
    named = {"&": "&amp;", '"': "&quot;", ">": "&gt;", "<": "&lt;"}
    return "".join(c if c in legal else named.get(c, "&#%d;" % ord(c)) for c in text)


class Element:
    """Just enough of an XML element to reproduce the plug-in's writer byte for byte."""

    def __init__(self, tag, attributes, children=()):
        self.tag = tag
        self.attributes = attributes
        self.children = list(children)

    def write(self, out, indent):
        out.append(" " * indent + "<" + self.tag)
        attribute_indent = indent + len(self.tag) + 1
        line_length = 0
        for name, value in self.attributes:
            # Like the plug-in's writer: wrap before an attribute once the line is long.
            if line_length > LINE_WRAP:
                out.append(NEWLINE + " " * attribute_indent)
                line_length = 0
            text = ' %s="%s"' % (name, escape(value))
            out.append(text)
            line_length += len(text)
        if not self.children:
            out.append("/>")
            return
        out.append(">")
        for child in self.children:
            out.append(NEWLINE)
            child.write(out, indent + 2)
        out.append(NEWLINE + " " * indent + "</" + self.tag + ">")


def preset_element(preset):
    params = [
        Element("param", [("name", name), ("value", stored_value_text(v))])
        for name, v in zip(units.PARAMETER_NAMES, preset.values())
    ]
    attributes = [("application", APPLICATION), ("name", preset.name), ("rev", PRESET_REVISION)]
    return Element("Preset", attributes, params)


def bank_document():
    groups = [
        Element("PresetGroup", [("name", name)], [preset_element(p) for p in presets])
        for name, presets in factory_presets.GROUPS
    ]
    root = Element("PresetBank", [("name", factory_presets.BANK_NAME)], groups)
    out = ['<?xml version="1.0" encoding="UTF-8"?>' + NEWLINE + NEWLINE]
    root.write(out, 0)
    out.append(NEWLINE)
    return "".join(out)


def check_tables():
    """Refuses to write a bank that the plug-in would load differently from the tables."""
    problems = []
    names = set()
    total = 0
    for group, presets in factory_presets.GROUPS:
        for preset in presets:
            problems += ["%s / %s: %s" % (group, preset.name, p) for p in validate(preset)]
            if preset.name in names:
                problems.append("%s / %s: name used twice" % (group, preset.name))
            names.add(preset.name)
        total += len(presets)
    if total > SLOT_COUNT:
        problems.append("%d presets do not fit into %d slots" % (total, SLOT_COUNT))
    return problems


def write_bank():
    problems = check_tables()
    if problems:
        sys.exit("\n".join(problems))
    with open(BANK_PATH, "w", encoding="utf-8", newline="") as f:
        f.write(bank_document())
    count = sum(len(presets) for _, presets in factory_presets.GROUPS)
    print("wrote %s: %d groups, %d presets; the plug-in fills the other %d slots with 'Not used'"
          % (os.path.relpath(BANK_PATH, REPO), len(factory_presets.GROUPS), count,
             SLOT_COUNT - count))


# --- Checking -------------------------------------------------------------------------------


def read_bank(path):
    """(group, preset name, 22 values) for every preset of a bank file, read back from text."""
    index_of = {name: i for i, name in enumerate(units.PARAMETER_NAMES)}
    root = ElementTree.parse(path).getroot()
    for group in root.iter("PresetGroup"):
        for preset in group.iter("Preset"):
            values = [0.0] * len(units.PARAMETER_NAMES)
            for param in preset.iter("param"):
                values[index_of[param.get("name")]] = float(param.get("value"))
            yield group.get("name"), preset.get("name"), values


def read_float_wav(path):
    """All samples of a 32-bit float WAV file (plain or extensible format), interleaved."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:4] != b"RIFF" or data[8:12] != b"WAVE":
        raise ValueError("%s is not a WAV file" % path)
    position, fmt, samples = 12, None, None
    while position + 8 <= len(data):
        chunk_id, size = data[position:position + 4], struct.unpack("<I", data[position + 4:position + 8])[0]
        body = data[position + 8:position + 8 + size]
        if chunk_id == b"fmt ":
            fmt = struct.unpack("<HHIIHH", body[:16])
        elif chunk_id == b"data":
            samples = body
        position += 8 + size + (size & 1)
    if fmt is None or samples is None or fmt[0] not in (3, 0xFFFE) or fmt[5] != 32:
        raise ValueError("%s is not a 32-bit float WAV file" % path)
    values = array.array("f")
    values.frombytes(samples[: len(samples) // 4 * 4])
    if sys.byteorder == "big":
        values.byteswap()
    return values


def db(amplitude):
    return 20.0 * math.log10(amplitude) if amplitude > 0.0 else -math.inf


def measure(samples):
    peak = max((abs(s) for s in samples), default=0.0)
    rms = math.sqrt(sum(s * s for s in samples) / len(samples)) if samples else 0.0
    over = sum(1 for s in samples if abs(s) > 1.0)
    return db(peak), db(rms), over


def render(values, out_path):
    command = [HOST, "--plugin", PLUGIN, "--in", EXAMPLE, "--out", out_path]
    for index, v in enumerate(values):
        command += ["--set", "%d=%s" % (index, v)]
    result = subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
    if result.returncode != 0:
        raise RuntimeError("kolvrane-host failed (%d): %s" % (result.returncode, result.stderr.strip()))


def check_preset(entry, folder):
    group, name, values = entry
    out_path = os.path.join(folder, "%s-%s.wav" % (group, name)).replace(" ", "_")
    render(values, out_path)
    peak, rms, over = measure(read_float_wav(out_path))
    os.remove(out_path)
    problems = []
    if rms <= SILENT_RMS_DB:
        problems.append("silent")
    if peak >= MAX_PEAK_DB or over > MAX_SAMPLES_OVER_FULL_SCALE:
        problems.append("clips")
    # Output Volume that would bring the render to the target loudness without passing the
    # target peak; printed to help level-match edits of the tables.
    gain_db = min(TARGET_RMS_DB - rms, TARGET_MAX_PEAK_DB - peak) if rms > -math.inf else 0.0
    return group, name, values, peak, rms, over, problems, gain_db


def output_volume_db(v):
    gain = 4.0 * v * v
    return db(gain)


def run_check(only):
    for path in (PLUGIN, HOST, EXAMPLE):
        if not os.path.exists(path):
            sys.exit("missing %s (build Kolvrane_VST and kolvrane-host first)" % path)
    entries = [e for e in read_bank(BANK_PATH) if not only or e[1] in only]
    unknown = set(only or ()) - {e[1] for e in entries}
    if unknown:
        sys.exit("no preset named %s in the bank" % ", ".join(sorted(unknown)))
    with tempfile.TemporaryDirectory() as folder, ThreadPoolExecutor(max_workers=2) as pool:
        results = list(pool.map(lambda e: check_preset(e, folder), entries))

    failures = 0
    print("%-18s %-22s %8s %8s %6s %9s %9s  %s" % ("group", "preset", "peak dB", "rms dB", "over",
                                                "out dB", "suggest", "result"))
    for group, name, values, peak, rms, over, problems, gain_db in results:
        out_db = output_volume_db(values[19])
        failures += bool(problems)
        print("%-18s %-22s %8.2f %8.2f %6d %9.2f %9.2f  %s" % (group, name, peak, rms, over, out_db,
                                                            out_db + gain_db,
                                                            ", ".join(problems) or "ok"))
    peaks = [r[3] for r in results]
    rmss = [r[4] for r in results]
    print("%d presets checked, %d failed; peak %.2f..%.2f dBFS, RMS %.2f..%.2f dBFS"
          % (len(results), failures, min(peaks), max(peaks), min(rmss), max(rmss)))
    return 1 if failures else 0


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--check", action="store_true", help="render every preset of the written bank")
    parser.add_argument("--only", nargs="+", metavar="NAME", help="check only these presets")
    arguments = parser.parse_args()
    if arguments.check:
        sys.exit(run_check(arguments.only))
    write_bank()


if __name__ == "__main__":
    main()
