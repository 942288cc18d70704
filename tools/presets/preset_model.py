"""A factory preset written in musical units, and its 22 normalized parameter values."""

from dataclasses import dataclass
from typing import Optional, Tuple

import kolvrane_units as units

# Filter as (type, route, cutoff Hz, reso %, volume %); cutoff and reso are unused for "OFF".
FilterRow = Tuple[str, str, Optional[float], Optional[float], float]

_IDLE_CUTOFF = 0.5
_IDLE_RESO = 0.5


@dataclass
class Preset:
    name: str
    comp_db: float  # compressor threshold, 0 = off
    preamp_db: float
    threshold_db: float
    shape_pct: float
    function: str
    filters: Tuple[Optional[FilterRow], Optional[FilterRow], Optional[FilterRow]]
    out_db: float
    fx_pct: float

    def values(self):
        """The 22 normalized values in parameter index order."""
        v = [
            units.compressor_threshold_db(self.comp_db),
            units.preamp_db(self.preamp_db),
            units.threshold_db(self.threshold_db),
            units.percent(self.shape_pct),
        ]
        for row in resolved_filters(self.filters):
            v.extend(filter_values(row))
        v.append(units.output_db(self.out_db))
        v.append(units.function(self.function))
        v.append(units.percent(self.fx_pct))
        return v


def P(name, comp, preamp, threshold, shape, function, f1, f2, f3, out, fx):
    """One table row; the argument order is the column order of the tables."""
    return Preset(name, comp, preamp, threshold, shape, function, (f1, f2, f3), out, fx)


def resolved_filters(filters):
    """Replaces unused filters (None) with silent "OFF" filters that change nothing.

    A bank's output is the sum of the filters routed to it, and a bank without filters passes
    its input through. So an unused filter joins a bank that already has filters, at volume 0;
    with no filter in use at all, the first unused one passes the signal at unity.
    """
    used_routes = {row[1] for row in filters if row is not None}
    if not used_routes:
        idle = ("OFF", "Post", None, None, 100.0)
        return [idle] + [("OFF", "Post", None, None, 0.0)] * (len(filters) - 1)
    idle_route = "Post" if "Post" in used_routes else "Pre"
    return [row if row is not None else ("OFF", idle_route, None, None, 0.0) for row in filters]


def filter_values(row):
    kind, route, hz, reso, volume = row
    cutoff = units.cutoff_hz(hz) if hz is not None else _IDLE_CUTOFF
    q = units.percent(reso) if reso is not None else _IDLE_RESO
    return [units.filter_type(kind), units.route(route), cutoff, q, units.percent(volume)]


def validate(preset):
    """Catches rows that would mute a bank or name something the plug-in does not know."""
    problems = []
    rows = resolved_filters(preset.filters)
    for row in rows:
        if row[0] not in units.FILTER_TYPES or row[1] not in units.ROUTES:
            problems.append(f"unknown filter {row}")
    for route in units.ROUTES:
        in_bank = [row for row in rows if row[1] == route]
        if in_bank and sum(row[4] for row in in_bank) <= 0.0:
            problems.append(f"the {route} bank is muted")
    if preset.function not in units.FUNCTIONS:
        problems.append(f"unknown function {preset.function}")
    if not preset.name or len(preset.name) > 24:
        problems.append("name must be 1..24 characters")
    return problems
