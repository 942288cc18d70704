#!/usr/bin/env python3
"""Helpers for scripts/ci-ardour.sh: edit and read an Ardour 7 session file, compare renders.

Python 3 standard library only. Subcommands:
  wav-info WAV                         print the rate, channel count and length of a WAV file
  scanner-info SCANNER_OUTPUT          print the VST2Info attributes the scanner reported
  place-audio SESSION_FILE WAV         put WAV on the first audio playlist and set the session
                                       range to its length (the Lua API cannot import headless)
  state SESSION_FILE CHUNK_OUT         write the plug-in's stored chunk and print its parameters
  compare REFERENCE.wav TEST.wav       align TEST to REFERENCE and print the largest difference
"""

import argparse
import base64
import math
import re
import shutil
import struct
import sys
import xml.etree.ElementTree as ET
from pathlib import Path

# Ardour 7 keeps timeline positions in superclock ticks ("a" prefix in the session file).
SUPERCLOCK_RATE = 282240000

# IDs for the objects added here: far above what a fresh session hands out.
FIRST_ADDED_ID = 900000


class CheckError(Exception):
    pass


# --- WAV -----------------------------------------------------------------------------------

WAVE_FORMAT_PCM = 1
WAVE_FORMAT_IEEE_FLOAT = 3
WAVE_FORMAT_EXTENSIBLE = 0xFFFE


def read_wav(path):
    """Returns (rate, channels as lists of floats). PCM 16/24/32-bit and IEEE float 32/64."""
    data = Path(path).read_bytes()
    if len(data) < 12 or data[0:4] != b"RIFF" or data[8:12] != b"WAVE":
        raise CheckError(f"{path}: not a RIFF/WAVE file")
    fmt = None
    samples = None
    offset = 12
    while offset + 8 <= len(data):
        chunk_id = data[offset : offset + 4]
        (size,) = struct.unpack_from("<I", data, offset + 4)
        body = data[offset + 8 : offset + 8 + size]
        if chunk_id == b"fmt ":
            fmt = body
        elif chunk_id == b"data":
            samples = body
        offset += 8 + size + (size & 1)
    if fmt is None or samples is None:
        raise CheckError(f"{path}: no fmt or data chunk")

    tag, channels, rate, _, _, bits = struct.unpack_from("<HHIIHH", fmt, 0)
    if tag == WAVE_FORMAT_EXTENSIBLE and len(fmt) >= 26:
        (tag,) = struct.unpack_from("<H", fmt, 24)  # first two bytes of the sub-format GUID
    frame_bytes = channels * bits // 8
    frames = len(samples) // frame_bytes
    count = frames * channels

    if tag == WAVE_FORMAT_IEEE_FLOAT and bits in (32, 64):
        values = struct.unpack_from(f"<{count}{'f' if bits == 32 else 'd'}", samples, 0)
    elif tag == WAVE_FORMAT_PCM and bits in (16, 32):
        scale = 1.0 / (1 << (bits - 1))
        raw = struct.unpack_from(f"<{count}{'h' if bits == 16 else 'i'}", samples, 0)
        values = [v * scale for v in raw]
    elif tag == WAVE_FORMAT_PCM and bits == 24:
        scale = 1.0 / (1 << 23)
        values = [
            int.from_bytes(samples[i : i + 3], "little", signed=True) * scale for i in range(0, count * 3, 3)
        ]
    else:
        raise CheckError(f"{path}: unsupported WAV format {tag}, {bits} bits")
    return rate, [list(values[c::channels]) for c in range(channels)]


def wav_shape(path):
    """(rate, channels, frames) from the header alone."""
    rate, channels = read_wav(path)
    return rate, len(channels), len(channels[0]) if channels else 0


def wav_info(args):
    rate, channels, frames = wav_shape(args.wav)
    print(f"rate={rate} channels={channels} frames={frames}")


# --- scanner ---------------------------------------------------------------------------------


def scanner_info(args):
    text = Path(args.output).read_text(errors="replace")
    match = re.search(r"<VST2Info\b[^>]*>", text)
    if not match:
        raise CheckError("the scanner printed no <VST2Info> element")
    element = ET.fromstring(match.group(0).rstrip(">").rstrip("/") + "/>")
    for key, value in element.attrib.items():
        print(f"{key}={value}")


# --- session file ----------------------------------------------------------------------------


def superclock(frames, rate):
    ticks = frames * SUPERCLOCK_RATE
    if ticks % rate:
        raise CheckError(f"{rate} Hz does not divide Ardour's superclock rate")
    return f"a{ticks // rate}"


def load_session(path):
    tree = ET.parse(path)
    root = tree.getroot()
    if root.tag != "Session":
        raise CheckError(f"{path}: not an Ardour session file")
    return tree, root


def child(root, tag):
    node = root.find(tag)
    if node is None:
        node = ET.SubElement(root, tag)
    return node


def session_audio_dir(session_dir):
    """Ardour names the interchange folder after the session folder, not the session, and
    stops with a fatal error when it finds more than one."""
    folders = [p for p in (session_dir / "interchange").iterdir() if p.is_dir()]
    if len(folders) != 1:
        raise CheckError(f"{session_dir}/interchange: expected one folder, found {len(folders)}")
    audio_dir = folders[0] / "audiofiles"
    audio_dir.mkdir(exist_ok=True)
    return audio_dir


def place_audio(args):
    session_file = Path(args.session)
    tree, root = load_session(session_file)
    rate, channels, frames = wav_shape(args.wav)
    session_rate = int(root.get("sample-rate", "0"))
    if rate != session_rate:
        raise CheckError(f"{args.wav} is {rate} Hz, the session {session_rate} Hz")
    if channels != 2:
        raise CheckError(f"{args.wav} has {channels} channels; the track is stereo")

    # The file becomes one of the session's own sources, as an import would leave it.
    audio_dir = session_audio_dir(session_file.parent)
    file_name = Path(args.wav).name
    shutil.copyfile(args.wav, audio_dir / file_name)

    playlist = root.find("./Playlists/Playlist[@type='audio']")
    if playlist is None:
        raise CheckError("the session has no audio playlist (no audio track?)")

    source_ids = [str(FIRST_ADDED_ID + c) for c in range(channels)]
    sources = child(root, "Sources")
    for c, source_id in enumerate(source_ids):
        ET.SubElement(
            sources,
            "Source",
            {
                "name": file_name,
                "type": "audio",
                "flags": "",
                "id": source_id,
                "captured-for": "",
                "channel": str(c),
                "origin": file_name,
                "gain": "1",
            },
        )

    end = superclock(frames, rate)
    length = f"{end}@a0"  # a duration is stored with the position it starts from
    region = {
        "name": Path(file_name).stem,
        "id": str(FIRST_ADDED_ID + 100),
        "type": "audio",
        "position": "a0",
        "start": "a0",
        "length": length,
        "sync-position": "a0",
        "channels": str(channels),
        "muted": "0",
        "opaque": "1",
        "whole-file": "0",
        "external": "0",
        "scale-amplitude": "1",
        "envelope-active": "0",
        # No fades: the render must be the plug-in's output sample for sample.
        "default-fade-in": "0",
        "default-fade-out": "0",
        "fade-in-active": "0",
        "fade-out-active": "0",
        "layering-index": "0",
    }
    for c, source_id in enumerate(source_ids):
        region[f"source-{c}"] = source_id
        region[f"master-source-{c}"] = source_id
    ET.SubElement(playlist, "Region", region)

    locations = child(root, "Locations")
    ET.SubElement(
        locations,
        "Location",
        {
            "id": str(FIRST_ADDED_ID + 200),
            "name": "session",
            "start": "a0",
            "end": end,
            "flags": "IsSessionRange",
            "locked": "0",
            "timestamp": "0",
            "cue": "0",
        },
    )
    tree.write(session_file, encoding="UTF-8", xml_declaration=True)
    print(f"frames={frames} rate={rate}")


def plugin_processor(root):
    processors = root.findall(".//Processor[@type='lxvst']")
    if len(processors) != 1:
        raise CheckError(f"expected one Linux VST processor in the session, found {len(processors)}")
    return processors[0]


def state(args):
    _, root = load_session(args.session)
    processor = plugin_processor(root)
    chunk = processor.find("./lxvst/chunk")
    if chunk is None or not (chunk.text or "").strip():
        raise CheckError("the session stores no chunk for the plug-in (effGetChunk unused?)")
    data = base64.b64decode(chunk.text.strip(), validate=True)
    Path(args.chunk).write_bytes(data)
    print(f"chunk={len(data)}")
    for control in processor.findall("./Controllable[@parameter]"):
        print(f"param {control.get('parameter')} {control.get('value')} {control.get('name')}")


# --- render comparison -------------------------------------------------------------------------


def difference_at(reference, test, lag, frames):
    worst = 0.0
    for ref_channel, test_channel in zip(reference, test):
        shifted = test_channel[lag : lag + frames]
        for a, b in zip(ref_channel[:frames], shifted):
            d = abs(a - b)
            if d > worst:
                worst = d
    return worst


def find_lag(reference, test, max_lag):
    """The offset of REFERENCE inside TEST: the first sample of real signal, matched by value."""
    ref = reference[0]
    probe = next((i for i, v in enumerate(ref) if abs(v) > 1e-4), None)
    if probe is None:
        raise CheckError("the reference render is silent")
    window = ref[probe : probe + 64]
    best_lag, best_error = None, math.inf
    for lag in range(0, max_lag + 1):
        segment = test[0][probe + lag : probe + lag + len(window)]
        if len(segment) < len(window):
            break
        error = max(abs(a - b) for a, b in zip(window, segment))
        if error < best_error:
            best_lag, best_error = lag, error
    return best_lag


def float32_ulp(value):
    """The spacing of float32 values at the magnitude of VALUE."""
    _, exponent = math.frexp(value)
    return math.ldexp(1.0, exponent - 24)


def compare(args):
    ref_rate, reference = read_wav(args.reference)
    test_rate, test = read_wav(args.test)
    if ref_rate != test_rate:
        raise CheckError(f"sample rates differ: {ref_rate} vs {test_rate}")
    if len(reference) != len(test):
        raise CheckError(f"channel counts differ: {len(reference)} vs {len(test)}")
    lag = find_lag(reference, test, args.max_lag)
    frames = min(len(reference[0]), len(test[0]) - lag)
    if frames < len(reference[0]) - args.max_lag:
        raise CheckError(f"the test render is short: {len(test[0])} frames for {len(reference[0])}")
    worst = difference_at(reference, test, lag, frames)
    peak = max(max(abs(v) for v in channel) for channel in reference)
    tolerance = args.tolerance if args.tolerance is not None else float32_ulp(peak) * args.ulps
    print(
        f"lag={lag} frames={frames} test_frames={len(test[0])} max_diff={worst:.3g} "
        f"tolerance={tolerance:.3g} peak={peak:.3g}"
    )
    if args.differ_by is not None:
        if worst < args.differ_by:
            raise CheckError(f"renders are alike ({worst:.3g} < {args.differ_by:g}); expected them to differ")
    elif worst > tolerance:
        raise CheckError(f"renders differ by {worst:.3g} (tolerance {tolerance:.3g}) at lag {lag}")


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    commands = parser.add_subparsers(dest="command", required=True)

    p = commands.add_parser("scanner-info")
    p.add_argument("output")
    p.set_defaults(run=scanner_info)

    p = commands.add_parser("wav-info")
    p.add_argument("wav")
    p.set_defaults(run=wav_info)

    p = commands.add_parser("place-audio")
    p.add_argument("session")
    p.add_argument("wav")
    p.set_defaults(run=place_audio)

    p = commands.add_parser("state")
    p.add_argument("session")
    p.add_argument("chunk")
    p.set_defaults(run=state)

    p = commands.add_parser("compare")
    p.add_argument("reference")
    p.add_argument("test")
    p.add_argument("--max-lag", type=int, default=8192)
    p.add_argument("--tolerance", type=float, help="largest allowed difference (default: --ulps)")
    p.add_argument("--ulps", type=float, default=8.0, help="tolerance in float32 steps at the peak")
    p.add_argument("--differ-by", type=float, help="fail unless the renders differ by at least this")
    p.set_defaults(run=compare)

    args = parser.parse_args()
    try:
        args.run(args)
    except (CheckError, OSError, ET.ParseError, ValueError) as error:
        print(f"ardour_check {args.command}: {error}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
