"""Musical units of Kolvrane's 22 presetable parameters, converted to normalized values.

Each function inverts the core's mapping from a normalized value v (0..1) to what it does, so the
preset tables can be written in dB, Hz and percent. Values outside a control's range are clamped
to it, because a preset can only hold what the knob can reach.
"""

import math

SAMPLE_RATE = 44100.0

PARAMETER_NAMES = [
    "Dynamics",
    "Preamp",
    "Threshold",
    "Shape",
    "Filter 1 Type",
    "Filter 1 Route",
    "Filter 1 Cutoff",
    "Filter 1 Reso/Bandwidth",
    "Filter 1 Volume",
    "Filter 2 Type",
    "Filter 2 Route",
    "Filter 2 Cutoff",
    "Filter 2 Reso/Bandwidth",
    "Filter 2 Volume",
    "Filter 3 Type",
    "Filter 3 Route",
    "Filter 3 Cutoff",
    "Filter 3 Reso/Bandwidth",
    "Filter 3 Volume",
    "Output Volume",
    "Distortion Function",
    "FX",
]

FILTER_TYPES = ["OFF", "LP", "BP", "HP", "BR"]
ROUTES = ["Post", "Pre"]
FUNCTIONS = ["TANH", "ATAN", "HARD CLIP", "CROSSOVER", "ASIM. TANH", "MIXED TANH/CLIP"]

# Cutoff coefficient c(v) = exp(v * K) * A - B of the state-variable filter.
_CUTOFF_K = 4.365134839032704
_CUTOFF_A = 0.010674735250057944
_CUTOFF_B = 0.009674735250774223


def clamp01(v):
    return min(1.0, max(0.0, v))


def compressor_threshold_db(db):
    """Dynamics: the compressor threshold, -40 dB (hardest) to 0 dB (transparent)."""
    return clamp01(1.0 + db / 40.0)


def preamp_db(db):
    """Preamp: 0 to +48 dB of gain into the shaper."""
    return clamp01(db / 48.0)


def threshold_db(db):
    """Threshold: the shaper's knee, -48 dB to 0 dB."""
    return clamp01(1.0 + db / 48.0)


def percent(value):
    """Shape, Reso/Bandwidth, filter Volume and FX (wet share) are shown in percent."""
    return clamp01(value / 100.0)


def cutoff_hz(hz):
    """Filter cutoff by the filter's real tuning at 44.1 kHz, 14 Hz to 12 kHz.

    The tuning of the filter is (2 rate / pi) asin(c / 2); the knob's display curve agrees with it
    only near the middle and the top of the range, and the ear follows the tuning.
    """
    c = 2.0 * math.sin(math.pi * hz / (2.0 * SAMPLE_RATE))
    c = min(0.83, max(0.001, c))
    return clamp01(math.log((c + _CUTOFF_B) / _CUTOFF_A) / _CUTOFF_K)


def output_db(db):
    """Output Volume: gain 4 v^2, so v = 0.5 * 10^(dB / 40); None is silence."""
    if db is None:
        return 0.0
    return clamp01(0.5 * 10.0 ** (db / 40.0))


def filter_type(name):
    return FILTER_TYPES.index(name) / 4.0


def route(name):
    return float(ROUTES.index(name))


def function(name):
    return FUNCTIONS.index(name) / 5.0


def tuning_hz(v):
    """The filter's tuning at 44.1 kHz for a normalized cutoff (for reports)."""
    c = math.exp(v * _CUTOFF_K) * _CUTOFF_A - _CUTOFF_B
    return 2.0 * SAMPLE_RATE / math.pi * math.asin(c / 2.0)
