"""The factory bank of Kolvrane, in musical units.

Columns of every row P(...):
  name | comp: compressor threshold dB (0 = off, -40 = hardest) | preamp dB (0..48)
  | threshold dB (-48..0) | shape % | function | filter 1 | filter 2 | filter 3
  | out: Output Volume dB (-inf..+12) | fx: wet share %

Filters are pre(...) or post(...): type ("LP", "BP", "HP", "BR", or "OFF" for the full band),
cutoff in Hz (the filter's tuning at 44.1 kHz), reso % and volume %. The filters of one bank are
summed, so two "Pre" filters feed two bands into the shaper and a "Post" low-pass alone is a tone
control. None leaves a filter unused. Output volumes level-match the presets on the example loop
(see make_factory_bank.py --check).
"""

from preset_model import P

TANH, ATAN, HARD, XOVER, ASYM, MIXED = (
    "TANH",
    "ATAN",
    "HARD CLIP",
    "CROSSOVER",
    "ASIM. TANH",
    "MIXED TANH/CLIP",
)


def pre(kind, hz=None, reso=None, vol=100.0):
    return (kind, "Pre", hz, reso, vol)


def post(kind, hz=None, reso=None, vol=100.0):
    return (kind, "Post", hz, reso, vol)


BANK_NAME = "Default Bank"

# fmt: off
ACID_LINES = [
    #  name                  comp  pre  thr  shp  fn     filter 1                    filter 2                 filter 3                    out    fx
    P("Squelch Box",          -12,  30, -18,  40, TANH,  pre("BP", 700, 75),         pre("OFF", vol=25),      post("LP", 6000, 10),      -2.5,  100),
    P("Rubber Acid",          -16,  26, -20,  55, ASYM,  pre("BP", 450, 80),         pre("OFF", vol=20),      post("LP", 5000, 5),       -6.0,  100),
    P("Acid Scream",           -8,  38, -24,  60, HARD,  pre("BP", 1500, 90),        None,                    post("LP", 7000, 15),       2.5,  100),
    P("Low Squelch",          -12,  24, -16,  35, TANH,  pre("BP", 250, 70),         pre("OFF", vol=30),      post("LP", 3000, 20),      -3.5,  100),
    P("Wet Acid Blend",       -10,  32, -20,  45, TANH,  pre("BP", 900, 85),         None,                    None,                       1.0,   60),
    P("Acid Fuzz",            -14,  36, -22,  50, MIXED, pre("BP", 1200, 70),        pre("OFF", vol=15),      post("HP", 120, 0),        -5.5,  100),
    P("Resonant Bite",        -10,  28, -18,  40, TANH,  pre("LP", 1000, 85),        None,                    post("LP", 8000, 0),       -4.0,  100),
    P("Talking Acid",         -12,  30, -20,  45, ATAN,  pre("BP", 500, 75),         pre("BP", 1800, 75),     post("LP", 6500, 10),       0.5,  100),
    P("Acid Crossover",        -6,  40, -30,  50, XOVER, pre("BP", 800, 80),         pre("OFF", vol=20),      post("LP", 5000, 10),      -0.5,  100),
    P("Squashed Squelch",     -30,  26, -18,  40, TANH,  pre("BP", 800, 60),         pre("OFF", vol=25),      post("LP", 6000, 0),       -2.5,  100),
    P("Tape Acid",            -10,  18, -12,  30, ASYM,  pre("BP", 600, 50),         pre("OFF", vol=50),      post("LP", 5000, 5),       -8.5,  100),
]

DRUMS = [
    P("Drum Bus Glue",        -18,  10, -12,  30, TANH,  pre("OFF"),                 None,                    post("LP", 11000, 0),      -4.5,  100),
    P("Split Kick Drive",     -12,  24, -18,  40, TANH,  pre("LP", 150, 20),         pre("HP", 2000, 0, 40),  post("OFF"),               -5.0,  100),
    P("Crushed Room",         -36,  20, -16,  50, HARD,  pre("OFF"),                 None,                    post("HP", 80, 0),         -4.0,   70),
    P("Snare Crack",          -16,  26, -20,  45, MIXED, pre("BP", 2500, 40),        pre("OFF", vol=40),      post("LP", 10000, 0),      -2.5,  100),
    P("Parallel Smash",       -30,  30, -24,  60, HARD,  pre("OFF"),                 None,                    post("LP", 9000, 0),       -1.5,   40),
    P("Kick Thump",           -10,  18, -14,  35, TANH,  pre("LP", 100, 40),         pre("HP", 800, 0, 60),   None,                      -7.0,  100),
    P("Lo-Fi Break",          -24,  22, -16,  40, ASYM,  pre("BP", 1200, 20),        pre("LP", 150, 0, 60),   post("LP", 4000, 10),      -4.0,  100),
    P("Hat Sizzle",           -12,  24, -20,  40, TANH,  pre("HP", 5000, 20),        pre("LP", 400, 0, 80),   post("LP", 11000, 0),      -4.0,  100),
    P("Warm Drum Bus",        -12,  12, -12,  30, ASYM,  pre("OFF"),                 None,                    post("LP", 8000, 0),       -8.0,  100),
    P("Transient Punch",       -6,  18,  -6,  80, HARD,  pre("OFF"),                 None,                    post("LP", 10000, 0),      -5.5,   70),
    P("Boom Bap Grit",        -20,  24, -18,  40, ATAN,  pre("BP", 900, 10),         pre("LP", 120, 0, 80),   post("LP", 6000, 5),       -1.0,  100),
    P("Industrial Kit",       -30,  24, -24,  55, MIXED, pre("OFF"),                 post("HP", 60, 0),       None,                      -4.0,  100),
    P("Tight Low End",        -14,  20, -16,  35, TANH,  pre("LP", 80, 0),           pre("HP", 300, 0, 70),   post("BR", 400, 20),       -2.0,  100),
    P("Dusty Sampler",        -20,  20, -14,  40, ATAN,  pre("LP", 3500, 30),        None,                    post("LP", 5000, 10),       1.0,   80),
    P("Gated Crunch",         -10,  34, -30,  50, XOVER, pre("OFF"),                 None,                    post("LP", 9000, 0),       -4.0,   50),
    P("Overhead Air",         -12,  16, -14,  30, TANH,  pre("OFF"),                 post("HP", 3000, 10, 60), post("OFF", vol=80),      -6.0,  100),
    P("Snare Body",           -14,  22, -18,  40, TANH,  pre("BP", 220, 50),         pre("OFF", vol=50),      post("LP", 10000, 0),      -4.5,  100),
    P("Clap Fuzz",            -16,  34, -24,  60, MIXED, pre("HP", 1000, 10),        None,                    post("LP", 9000, 5),        2.0,   50),
    P("Heavy Drum Bus",       -30,  24, -20,  60, TANH,  pre("LP", 200, 20),         pre("OFF", vol=60),      post("LP", 10000, 0),       1.0,  100),
]

GUITARS = [
    P("Mid Boost Drive",      -10,  24, -18,  40, ASYM,  pre("BP", 720, 30),         pre("OFF", vol=30),      post("LP", 5000, 10),      -7.5,  100),
    P("Crunch Rhythm",        -12,  30, -20,  45, ASYM,  pre("BP", 1000, 0),         None,                    post("LP", 5500, 10),      -6.5,  100),
    P("High Gain Lead",       -20,  42, -30,  60, MIXED, pre("BP", 900, 40),         None,                    post("LP", 4500, 20),      -3.0,  100),
    P("Bluesy Breakup",        -8,  14, -10,  25, ASYM,  pre("BP", 800, 10),         pre("OFF", vol=50),      post("LP", 6000, 5),       -6.5,  100),
    P("Vintage Fuzz",         -16,  40, -26,  85, HARD,  pre("LP", 1500, 20),        pre("HP", 300, 0, 40),   post("LP", 4000, 15),      -4.0,  100),
    P("Scooped Metal",        -20,  44, -30,  55, HARD,  pre("BP", 1200, 30),        None,                    post("BR", 700, 40),       -2.0,  100),
    P("Octave Grind",         -14,  38, -28,  50, XOVER, pre("BP", 900, 20),         None,                    post("LP", 5000, 10),       2.5,  100),
    P("Edge Of Clean",         -6,  10,  -6,  20, TANH,  pre("BP", 900, 0),          pre("OFF", vol=60),      post("OFF"),               -6.5,  100),
    P("Stoner Doom",          -18,  36, -24,  50, ASYM,  pre("LP", 600, 30),         None,                    post("LP", 2500, 10),     -11.0,  100),
    P("Jangle Edge",          -10,  16, -12,  30, ATAN,  pre("HP", 400, 20),         pre("OFF", vol=30),      post("LP", 9000, 0),       -1.5,  100),
    P("Amp In A Box",         -12,  28, -20,  45, ASYM,  pre("BP", 650, 25),         None,                    post("LP", 4000, 25),      -4.0,  100),
    P("Lead Sustain",         -30,  36, -24,  45, TANH,  pre("BP", 1000, 35),        None,                    post("LP", 5000, 15),       4.5,  100),
    P("Rhythm Chug",          -16,  32, -22,  50, ASYM,  pre("BP", 500, 20),         pre("BP", 2000, 20),     post("LP", 5000, 10),      -8.0,  100),
    P("Parked Wah",           -10,  30, -20,  45, TANH,  pre("BP", 1100, 80),        None,                    post("LP", 6000, 5),        0.0,  100),
    P("Broken Speaker",       -12,  36, -26,  50, XOVER, pre("BP", 1000, 10),        None,                    post("LP", 3000, 40),       6.5,  100),
    P("Treble Booster",        -8,  20, -14,  35, ASYM,  pre("HP", 1500, 10),        pre("OFF", vol=40),      post("LP", 8000, 0),       -8.5,  100),
    P("Garage Grit",          -14,  30, -20,  50, MIXED, pre("BP", 900, 10),         None,                    post("LP", 6000, 10),      -2.5,   80),
    P("Crunch Parallel",      -16,  36, -26,  55, ASYM,  pre("BP", 800, 20),         None,                    post("LP", 5000, 10),      -2.0,   50),
]

BASSES = [
    P("Bass Warmth",          -12,  10, -12,  20, ASYM,  pre("OFF"),                 None,                    post("LP", 5000, 0),       -7.0,  100),
    P("Bass Split Grind",     -14,  30, -22,  50, MIXED, pre("HP", 350, 10),         None,                    post("LP", 6000, 5),       -2.0,   55),
    P("Sub Saturator",        -12,  20, -18,  35, TANH,  pre("LP", 200, 10),         None,                    None,                      -6.0,  100),
    P("Growl Bass",           -14,  26, -20,  45, ASYM,  pre("BP", 700, 55),         pre("OFF", vol=40),      post("LP", 5000, 10),      -8.5,  100),
    P("Fuzz Bass",            -16,  36, -24,  70, HARD,  pre("OFF"),                 None,                    post("LP", 3500, 10),      -7.5,  100),
    P("Finger Funk",          -20,  10, -10,  30, ATAN,  pre("OFF"),                 None,                    post("LP", 8000, 0),        0.0,  100),
    P("Reese Grit",           -14,  30, -22,  45, TANH,  pre("BP", 300, 30),         pre("BP", 1200, 30),     post("LP", 7000, 5),       -1.5,  100),
    P("Tape Bass",             -8,  12, -12,  40, ASYM,  pre("OFF"),                 None,                    post("LP", 7000, 0),       -7.0,   80),
    P("Synth Bass Bite",      -12,  28, -20,  45, MIXED, pre("LP", 900, 60),         None,                    post("LP", 6000, 5),       -4.0,  100),
    P("Dub Weight",           -12,  22, -18,  35, TANH,  pre("LP", 180, 40),         None,                    post("LP", 1500, 10),      -4.5,  100),
    P("Pick Attack",          -14,  26, -20,  50, HARD,  pre("HP", 1500, 10, 80),    pre("LP", 200, 0, 60),   None,                      -5.5,  100),
    P("Octave Rumble",        -10,  36, -30,  40, XOVER, pre("LP", 400, 20),         None,                    post("LP", 2500, 10),      -5.0,   70),
    P("Round Compressor",     -28,   6,  -3,  20, TANH,  pre("OFF"),                 None,                    None,                      -2.5,  100),
]

MISC = [
    P("AM Radio",             -20,  30, -20,  50, HARD,  pre("BP", 1500, 30),        None,                    post("BP", 1500, 20),       3.0,  100),
    P("Telephone Line",       -16,  24, -18,  40, TANH,  pre("HP", 400, 10),         None,                    post("LP", 3000, 20),       3.0,  100),
    P("Broken Transistor",    -12,  40, -30,  50, XOVER, pre("OFF"),                 None,                    post("LP", 7000, 10),      -8.0,  100),
    P("Megaphone",            -18,  32, -22,  55, MIXED, pre("BP", 1800, 40),        None,                    post("HP", 300, 10),        6.0,  100),
    P("Subtle Exciter",        -6,  24, -24,  40, TANH,  pre("HP", 3000, 10),        None,                    None,                       1.0,   20),
    P("Pumping Squash",       -40,  16, -14,  40, TANH,  pre("OFF"),                 None,                    post("LP", 10000, 0),      -5.0,  100),
    P("Hollow Notch",         -10,  20, -16,  40, TANH,  pre("OFF"),                 None,                    post("BR", 1000, 60),       6.5,  100),
    P("Vinyl Warmth",          -8,  12, -12,  35, ASYM,  pre("OFF"),                 None,                    post("LP", 9000, 0),       -4.5,   40),
    P("Total Destruction",    -30,  48, -40, 100, HARD,  pre("OFF"),                 None,                    post("LP", 8000, 10),     -10.5,  100),
    P("Underwater",           -14,  24, -18,  40, TANH,  pre("LP", 400, 70),         None,                    post("LP", 500, 20),       -5.0,  100),
]

ORGANS = [
    P("Rotary Growl",         -12,  22, -16,  35, ASYM,  pre("BP", 1000, 0),         pre("OFF", vol=40),      post("LP", 6000, 5),       -8.5,  100),
    P("Tonewheel Overdrive",  -14,  18, -14,  35, TANH,  pre("OFF"),                 None,                    post("LP", 6000, 0),       -7.0,  100),
    P("Cathedral Fuzz",       -20,  34, -24,  60, MIXED, pre("LP", 2500, 20),        None,                    post("LP", 5000, 10),      -0.5,   70),
    P("Combo Organ Buzz",     -10,  26, -20,  55, HARD,  pre("HP", 500, 10),         pre("OFF", vol=30),      post("LP", 7000, 10),      -2.5,  100),
]

PADS = [
    P("Pad Warmth",            -6,  12, -12,  30, ASYM,  pre("OFF"),                 None,                    post("LP", 7000, 0),       -3.5,   25),
    P("Pad Shimmer",           -6,  18, -18,  30, TANH,  pre("HP", 2500, 10),        None,                    post("LP", 11000, 0),       1.5,   20),
]

PIANOS = [
    P("Honky Drive",          -12,  20, -16,  40, ASYM,  pre("BP", 1200, 20),        pre("OFF", vol=40),      post("LP", 7000, 5),       -6.5,  100),
    P("E-Piano Bark",         -10,  22, -16,  40, ASYM,  pre("BP", 800, 25),         pre("OFF", vol=50),      post("LP", 6000, 5),       -9.5,  100),
    P("Tine Grit",            -12,  26, -20,  45, TANH,  pre("HP", 1200, 10),        pre("OFF", vol=40),      post("LP", 9000, 0),       -2.0,  100),
    P("Upright Saturation",    -8,  10, -10,  30, TANH,  pre("OFF"),                 None,                    post("LP", 10000, 0),      -7.5,  100),
    P("Lo-Fi Keys",           -18,  20, -16,  40, ATAN,  pre("BP", 1000, 10),        None,                    post("LP", 3500, 10),       7.5,  100),
    P("Reed Piano Buzz",      -12,  26, -18,  50, MIXED, pre("BP", 900, 30),         pre("OFF", vol=30),      post("LP", 6000, 10),      -3.0,  100),
    P("Felt Warmth",           -6,   8,  -8,  25, ASYM,  pre("OFF"),                 None,                    post("LP", 4500, 0),       -4.5,   60),
    P("Hammer Crunch",        -16,  28, -20,  55, HARD,  pre("BP", 1500, 20),        pre("OFF", vol=30),      post("LP", 8000, 5),       -1.0,  100),
    P("Toy Piano",            -12,  24, -18,  40, TANH,  pre("HP", 800, 20),         None,                    post("BP", 2500, 10),       6.0,  100),
    P("Broken Upright",       -20,  34, -26,  55, XOVER, pre("OFF"),                 None,                    post("LP", 6000, 10),       0.0,   60),
    P("Soft Tape Keys",        -8,  12, -12,  35, ASYM,  pre("OFF"),                 None,                    post("LP", 8000, 0),       -7.0,   70),
    P("Keys Through Amp",     -14,  28, -20,  45, ASYM,  pre("BP", 700, 20),         None,                    post("LP", 4500, 20),      -4.5,  100),
    P("Dark Ballad Drive",    -10,  14, -12,  30, TANH,  pre("LP", 2000, 10),        pre("OFF", vol=30),      post("LP", 3500, 5),       -7.5,  100),
]

SYNTHS = [
    P("Analog Warmth",        -10,  14, -12,  35, ASYM,  pre("OFF"),                 None,                    post("LP", 9000, 0),      -10.0,  100),
    P("Sync Grit",            -14,  32, -24,  55, HARD,  pre("BP", 1500, 40),        pre("OFF", vol=30),      post("LP", 8000, 10),      -3.0,  100),
    P("Saw Stack Fuzz",       -18,  36, -26,  60, MIXED, pre("HP", 200, 10),         None,                    post("LP", 7000, 10),      -5.0,   80),
]

# Two sound designers' signature sets: a lo-fi basement studio and an industrial electronics lab.
KESTREL_BASEMENT = [
    P("KB Cassette Deck",     -10,  14, -12,  35, ASYM,  pre("OFF"),                 None,                    post("LP", 5500, 5),       -7.5,   80),
    P("KB Boombox Beat",      -22,  22, -16,  45, ATAN,  pre("LP", 180, 20),         pre("OFF", vol=50),      post("LP", 6000, 10),       0.5,  100),
    P("KB Sampler Crunch",    -18,  26, -18,  45, HARD,  pre("BP", 1000, 10),        pre("LP", 120, 0, 60),   post("LP", 4500, 10),      -2.5,  100),
    P("KB Dusty Bass",        -12,  18, -14,  35, TANH,  pre("LP", 300, 20),         None,                    post("LP", 3000, 5),       -5.5,  100),
    P("KB Cracked Speaker",   -12,  34, -26,  50, XOVER, pre("BP", 1200, 10),        None,                    post("LP", 3500, 30),       6.0,   60),
    P("KB Radio Keys",        -14,  24, -18,  40, TANH,  pre("BP", 1400, 30),        None,                    post("BP", 1400, 10),       3.0,  100),
    P("KB Basement Snare",    -24,  24, -18,  50, MIXED, pre("BP", 250, 40),         pre("HP", 3000, 10, 50), post("LP", 8000, 5),       -0.5,  100),
    P("KB Worn Tape Pad",      -6,  10, -10,  30, ASYM,  pre("OFF"),                 None,                    post("LP", 4000, 0),       -3.5,   35),
    P("KB Fuzzy Loop",        -20,  32, -24,  60, HARD,  pre("OFF"),                 None,                    post("LP", 5000, 15),      -3.0,   60),
    P("KB Warm Glue",         -16,   8,  -8,  25, TANH,  pre("OFF"),                 None,                    post("LP", 9000, 0),       -4.0,  100),
]

HOLLOW_PYLON = [
    P("PY Rust Kick",         -16,  30, -22,  55, HARD,  pre("LP", 120, 40),         pre("HP", 1500, 0, 30),  None,                     -10.0,  100),
    P("PY Steel Snare",       -20,  30, -22,  50, MIXED, pre("BP", 2000, 30),        pre("OFF", vol=40),      post("HP", 100, 0),        -3.0,  100),
    P("PY Grinder Bass",      -18,  36, -26,  55, MIXED, pre("BP", 600, 50),         pre("LP", 100, 0, 50),   post("LP", 5000, 10),      -2.0,  100),
    P("PY Acid Factory",      -10,  34, -22,  50, TANH,  pre("BP", 1000, 85),        None,                    post("LP", 7000, 10),       1.0,  100),
    P("PY Power Lines",       -24,  44, -34,  70, HARD,  pre("HP", 150, 10),         None,                    post("LP", 7000, 10),     -10.0,  100),
    P("PY Dead Zone",          -8,  40, -28,  50, XOVER, pre("OFF"),                 None,                    post("HP", 80, 0),        -11.0,  100),
    P("PY Noise Floor",       -40,  30, -24,  60, TANH,  pre("OFF"),                 None,                    post("HP", 200, 0),         5.5,  100),
    P("PY Circuit Bent",      -12,  38, -28,  45, ASYM,  pre("BP", 3000, 60),        pre("BP", 400, 60),      post("LP", 9000, 0),      -13.0,  100),
    P("PY Hum Generator",     -14,  32, -24,  50, TANH,  pre("LP", 100, 60),         None,                    post("LP", 800, 10),        1.5,  100),
    P("PY Chrome Hats",       -12,  30, -24,  50, HARD,  pre("HP", 6000, 20),        pre("OFF", vol=30),      post("LP", 12000, 0),      -6.0,  100),
    P("PY Rave Stab",         -14,  28, -20,  45, TANH,  pre("BP", 700, 60),         pre("BP", 2100, 60),     post("HP", 150, 0),        -1.5,  100),
    P("PY Transformer",       -10,  18, -14,  40, ASYM,  pre("LP", 400, 10),         pre("OFF", vol=40),      post("LP", 6000, 0),      -12.5,  100),
    P("PY Split Bus",         -20,  26, -20,  50, TANH,  pre("LP", 160, 20),         pre("HP", 3000, 10, 50), post("LP", 11000, 0),      -1.5,  100),
    P("PY Warehouse",         -30,  34, -26,  60, MIXED, pre("OFF"),                 post("HP", 60, 0),       None,                      -9.0,   70),
]
# fmt: on

GROUPS = [
    ("_Acid lines", ACID_LINES),
    ("_Drums", DRUMS),
    ("_Guitars", GUITARS),
    ("_Basses", BASSES),
    ("_Misc", MISC),
    ("_Organs", ORGANS),
    ("_Pads", PADS),
    ("_Pianos", PIANOS),
    ("_Synths", SYNTHS),
    ("Kestrel Basement", KESTREL_BASEMENT),
    ("Hollow Pylon", HOLLOW_PYLON),
]
