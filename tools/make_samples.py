#!/usr/bin/env python3
"""Writes the sample soundings shipped in data/samples/.

Each sample is built from a made-up but plausible soil profile (layers of
fill, clay, silt and sand), turned into tip resistance, sleeve friction, pore
pressure and the other channels, then into raw readings with the cone's
calibration: raw = baseline + value / full scale * raw span, the value in the
channel type's base unit. The files follow the sounding file layout exactly:
lines 1 to 23, a 13-column lead of depth and speed, 20-character
right-aligned channel fields, CR LF line ends, Windows-1252 bytes.

The unit names and factors of the channel lines are taken from the channel
type tables in data/, so the samples always agree with the shipped tables.

Usage: make_samples.py [OUTPUT_FOLDER]   (default: data/samples beside this tool)

The output is deterministic: every sample has its own fixed random seed.
"""

import math
import os
import random
import struct
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
DATA_DIR = os.path.join(HERE, "..", "data")

OLDER_VERSION_LINE = "Brennomarck Sounding File"
NEWER_VERSION_LINE = "BM Sounding File ver. 2015.07.02.1"
NO_DATA = "-32768"
LEAD_WIDTH = 13
FIELD_WIDTH = 20

WATER_UNIT_WEIGHT = 9.81  # kN/m3
NET_AREA_RATIO = 0.80     # qc = qt - (1 - a) u2


# ---------------------------------------------------------------------------
# Channel type tables


def table_fields(text):
    """The comma / line-end separated fields of a table file; a field that
    starts with a double quote runs to the next double quote."""
    fields = []
    i, n = 0, len(text)
    while True:
        while i < n and text[i] in " \t\r\n":
            i += 1
        if i >= n:
            return fields
        if text[i] == '"':
            end = text.index('"', i + 1)
            field = text[i + 1:end]
            i = end + 1
            while i < n and text[i] not in ",\r\n":
                i += 1
        else:
            start = i
            while i < n and text[i] not in ",\r\n":
                i += 1
            field = text[start:i].rstrip(" \t")
        if i < n and text[i] == ",":
            i += 1
        fields.append(field)


def load_tables(folder):
    """{type: [(name, pattern, factor), ...]} for every ChannelN.txt found."""
    tables = {}
    for t in range(1, 21):
        path = os.path.join(folder, "Channel%d.txt" % t)
        if not os.path.isfile(path):
            continue
        with open(path, "rb") as fh:
            fields = table_fields(fh.read().decode("cp1252"))
        count = int(fields[13])
        units = []
        for u in range(count):
            name, pattern, factor = fields[14 + 3 * u:17 + 3 * u]
            units.append((name, pattern, float(factor)))
        tables[t] = units
    return tables


# ---------------------------------------------------------------------------
# Number text as the acquisition program writes it


def single(x):
    """x rounded to a 32-bit float, as a Python float."""
    return struct.unpack("<f", struct.pack("<f", x))[0]


def number_text(x, sep):
    """A Single as plain text: 7 significant digits, trailing zeros dropped,
    exponent form below 1E-4 and from 1E7 on."""
    if isinstance(x, int):
        return str(x)
    text = "%.7g" % single(x)
    if "e" in text:
        mantissa, exponent = text.split("e")
        e = int(exponent)
        text = "%sE%s%02d" % (mantissa, "+" if e >= 0 else "-", abs(e))
    return text.replace(".", sep)


def fixed(x, decimals, sep):
    """x rounded to `decimals` decimals, at least one digit before the
    separator, no "-" on a value that rounds to zero."""
    text = "%.*f" % (decimals, x)
    if text.startswith("-") and float(text) == 0.0:
        text = text[1:]
    return text.replace(".", sep)


def right(text, width):
    """Right-aligned in `width` characters; a longer text is kept whole."""
    return text.rjust(width)


# ---------------------------------------------------------------------------
# Soil profiles
#
# A layer is (bottom depth in m, soil name). Each soil gives the corrected tip
# resistance qt at the layer top and its gradient (MPa, MPa/m), the friction
# ratio Rf in %, the pore pressure parameter Bq, the spread of the slow and
# fast variations of qt, the bulk conductivity and whether it is a sand (the
# rig pushes slower there and the cone drifts more).

SOILS = {
    "fill":     dict(qt=(5.5, 0.0),   rf=1.5, bq=0.00,  slow=0.30, fast=0.12, ec=65.0,  sand=True,  unit=18.5),
    "topsoil":  dict(qt=(1.1, 0.2),   rf=3.0, bq=0.02,  slow=0.15, fast=0.06, ec=90.0,  sand=False, unit=17.0),
    "crust":    dict(qt=(1.45, -0.18), rf=4.6, bq=0.12, slow=0.10, fast=0.04, ec=115.0, sand=False, unit=18.5),
    "peat":     dict(qt=(0.22, 0.01), rf=8.5, bq=0.25,  slow=0.15, fast=0.05, ec=140.0, sand=False, unit=11.0),
    "softclay": dict(qt=(0.42, 0.075), rf=2.7, bq=0.62, slow=0.05, fast=0.025, ec=210.0, sand=False, unit=16.5),
    "silt":     dict(qt=(2.6, 0.15),  rf=2.1, bq=0.15,  slow=0.20, fast=0.07, ec=95.0,  sand=False, unit=18.0),
    "siltyclay": dict(qt=(1.7, 0.06), rf=3.4, bq=0.45,  slow=0.08, fast=0.03, ec=170.0, sand=False, unit=18.0),
    "loosesand": dict(qt=(4.5, 0.9),  rf=0.9, bq=0.01,  slow=0.22, fast=0.10, ec=35.0,  sand=True,  unit=18.5),
    "sand":     dict(qt=(12.0, 1.3),  rf=0.75, bq=0.00, slow=0.20, fast=0.09, ec=28.0,  sand=True,  unit=19.5),
    "densesand": dict(qt=(24.0, 3.0), rf=0.6, bq=-0.001, slow=0.15, fast=0.08, ec=22.0, sand=True,  unit=20.0),
    "cemented": dict(qt=(44.0, 8.0),  rf=0.8, bq=-0.001, slow=0.10, fast=0.06, ec=18.0, sand=True,  unit=21.0),
}


def layer_at(layers, z):
    top = 0.0
    for bottom, soil in layers:
        if z < bottom:
            return top, SOILS[soil]
        top = bottom
    return top, SOILS[layers[-1][1]]


class Profile:
    """Engineering values of every channel kind at a list of depths."""

    def __init__(self, layers, depths, increment, water_table, seed, rod_length=1.0, refusal_at=None):
        rng = random.Random(seed)
        n = len(depths)
        # The cone senses some 5 cm around its tip: smooth the layer targets.
        window = max(1, int(round(0.05 / increment)))
        # Targets of each reading from its layer: qt, Rf, the excess pore
        # pressure Bq (qt - sigma_v0) and the conductivity.
        target_qt, target_rf, target_excess, target_ec, sigma_v0 = [], [], [], [], []
        sigma_v = 0.0
        previous_z = 0.0
        for z in depths:
            top, soil = layer_at(layers, z)
            sigma_v += soil["unit"] * max(0.0, z - previous_z)
            previous_z = z
            qt = soil["qt"][0] + soil["qt"][1] * (z - top)
            excess = soil["bq"] * (qt * 1000.0 - sigma_v)
            if z < water_table:
                excess = 0.1 * excess - 4.0  # partly saturated crust
            target_qt.append(qt)
            target_rf.append(soil["rf"])
            target_excess.append(excess)
            target_ec.append(soil["ec"])
            sigma_v0.append(sigma_v)

        def smooth(values):
            out = []
            for i in range(n):
                lo, hi = max(0, i - window), min(n, i + window + 1)
                out.append(sum(values[lo:hi]) / (hi - lo))
            return out

        qt_base = smooth([math.log(q) for q in target_qt])
        rf_base = smooth(target_rf)
        excess_base = smooth(target_excess)
        ec_base = smooth(target_ec)

        self.qc, self.fs, self.u2, self.u1 = [], [], [], []
        self.speed, self.ix, self.iy, self.temperature = [], [], [], []
        self.conductivity, self.thrust = [], []

        slow = fast = rf_noise = 0.0
        ix, iy = 0.32, -0.18
        rod_friction = 0.0
        previous_z = 0.0
        pause_age = 99  # readings since the last rod change
        ground_temperature, air_temperature = 11.4, 16.8
        for i, z in enumerate(depths):
            top, soil = layer_at(layers, z)
            sigma_v = sigma_v0[i]
            # A new rod every rod_length: the push stops, pore pressures
            # dissipate a little and the first reading after it is slow.
            if i > 0 and math.floor(z / rod_length + 1e-9) > math.floor(previous_z / rod_length + 1e-9):
                pause_age = 0
            else:
                pause_age += 1
            previous_z = z

            slow = 0.97 * slow + rng.gauss(0.0, soil["slow"] * 0.24)
            fast = 0.45 * fast + rng.gauss(0.0, soil["fast"])
            qt = math.exp(qt_base[i] + slow + fast)  # MPa
            if pause_age == 0:
                qt *= 1.06  # set-up during the rod change
            rf_noise = 0.8 * rf_noise + rng.gauss(0.0, 0.05)
            rf = max(0.2, rf_base[i] * (1.0 + rf_noise))
            fs = qt * 1000.0 * rf / 100.0  # kPa

            u0 = max(0.0, z - water_table) * WATER_UNIT_WEIGHT
            # The excess pore pressure follows the variations of qt.
            excess = excess_base[i] * math.exp(slow + fast)
            if pause_age < 4:
                excess *= 1.0 - 0.18 * math.exp(-pause_age)
            u2 = u0 + excess + rng.gauss(0.0, 1.2 if soil["sand"] else 2.0)
            # The face filter sees more of the excess pressure than the shoulder.
            u1 = u0 + (1.35 * excess if excess > 0 else 0.5 * excess) + 0.02 * (qt * 1000.0 - sigma_v) \
                + rng.gauss(0.0, 2.0)
            qc = qt - (1.0 - NET_AREA_RATIO) * u2 / 1000.0

            v = rng.gauss(2.0, 0.06)
            if soil["sand"] and qt > 15.0:
                v -= 0.25 + 0.01 * (qt - 15.0)
            if refusal_at is not None and z > refusal_at - 0.25:
                v = min(v, 0.9 + 2.8 * (refusal_at - z))
            if pause_age == 0:
                v = rng.uniform(1.15, 1.45)
            v = max(0.35, v)

            drift = 0.004 if soil["sand"] and qt > 15.0 else 0.0
            ix += rng.gauss(drift, 0.006)
            iy += rng.gauss(-0.5 * drift, 0.006)

            heating = 0.25 if soil["sand"] and qt > 20.0 else 0.0
            temperature = ground_temperature + (air_temperature - ground_temperature) * math.exp(-z / 1.3) \
                + heating + rng.gauss(0.0, 0.015)

            ec = ec_base[i] * (1.0 + rng.gauss(0.0, 0.03))
            if z < water_table:
                ec *= 0.55

            rod_friction += 0.2 * fs * math.pi * 0.036 * increment  # kN along the rods
            thrust = qc * 1.0 + fs * 0.015 + rod_friction + rng.gauss(0.0, 0.05)

            self.qc.append(qc * 1000.0)  # kPa
            self.fs.append(fs)
            self.u2.append(u2)
            self.u1.append(u1)
            self.speed.append(v)
            self.ix.append(ix)
            self.iy.append(iy)
            self.temperature.append(temperature)
            self.conductivity.append(ec)
            self.thrust.append(thrust)

    def values(self, kind):
        if kind == "tip":
            return self.qc
        if kind == "sleeve":
            return self.fs
        if kind == "u2":
            return self.u2
        if kind == "u1":
            return self.u1
        if kind == "inclx":
            return self.ix
        if kind == "incly":
            return self.iy
        if kind == "incl":
            return [math.hypot(x, y) for x, y in zip(self.ix, self.iy)]
        if kind == "temperature":
            return self.temperature
        if kind == "conductivity":
            return self.conductivity
        if kind == "thrust":
            return self.thrust
        raise ValueError(kind)


# ---------------------------------------------------------------------------
# Channels and cones

# Channel kinds: channel type code and the name the acquisition program gives
# the channel.
KINDS = {
    "tip": (1, "TIP RESISTANCE"),
    "sleeve": (2, "SLEEVE FRICTION"),
    "u2": (3, "PRESSURE U2"),
    "u1": (4, "PRESSURE U1"),
    "inclx": (6, "INCLINATION X"),
    "incly": (7, "INCLINATION Y"),
    "incl": (9, "INCLINATION"),
    "temperature": (10, "TEMPERATURE"),
    "conductivity": (11, "CONDUCTIVITY"),
    "thrust": (13, "THRUST"),
}

# Calibration of each cone: per channel kind the raw span, the raw baseline
# (the zero reading taken before the push), the full scale in the type's
# base unit, and the raw drift found in the final baseline after the push.
CONES = {
    "CN-1208": {
        "tip": (4.5873, 0.05218, 100000.0, 0.00214),
        "sleeve": (4.2215, 0.03741, 1000.0, 0.00092),
        "u2": (4.9012, 0.01166, 3447.5, -0.00047),
    },
    "CN-1208 second push": {
        "tip": (4.5873, 0.05431, 100000.0, 0.00118),
        "sleeve": (4.2215, 0.03822, 1000.0, 0.00061),
        "u2": (4.9012, 0.01120, 3447.5, -0.00023),
    },
    "CN-1311": {
        "tip": (4.6108, 0.04467, 100000.0, 0.00172),
        "sleeve": (4.1876, 0.02915, 1000.0, 0.00078),
        "u2": (4.8873, 0.01891, 3447.5, 0.00036),
        "inclx": (2.5, 2.50812, 20.0, 0.00640),
        "incly": (2.5, 2.49377, 20.0, -0.00410),
        "temperature": (5.0, 0.50211, 100.0, 0.26120),
    },
    "CN-0977": {
        "tip": (4.5521, 0.06102, 100000.0, 0.00295),
        "sleeve": (4.2390, 0.04410, 1000.0, 0.00118),
        "u2": (4.9155, 0.00984, 3447.5, 0.00052),
        "inclx": (2.5, 2.51136, 20.0, 0.00370),
        "incly": (2.5, 2.50054, 20.0, 0.00220),
        "temperature": (5.0, 0.49877, 100.0, 0.30410),
    },
    "CN-1402": {
        "tip": (4.5966, 0.03987, 100000.0, 0.00151),
        "sleeve": (4.2044, 0.03309, 1000.0, 0.00071),
        "u2": (4.8931, 0.01452, 3447.5, -0.00031),
        "inclx": (2.5, 2.49702, 20.0, 0.00510),
        "incly": (2.5, 2.50488, 20.0, -0.00290),
        "temperature": (5.0, 0.50066, 100.0, 0.24870),
        "u1": (4.9208, 0.01733, 3447.5, 0.00044),
        "conductivity": (5.0, 0.02130, 2000.0, 0.00090),
        "incl": (5.0, 0.01020, 20.0, 0.00310),
        "thrust": (5.0, 0.00847, 200.0, 0.00120),
    },
    "CN-0815": {
        "tip": (4.5712, 0.05877, 100000.0, 0.00256),
        "sleeve": (4.2281, 0.04106, 1000.0, 0.00104),
    },
}


def unit_of(tables, type_code, name):
    """(index, name, factor) of unit `name` of the type; the base unit is
    unit 1."""
    for index, (unit_name, _pattern, factor) in enumerate(tables[type_code], start=1):
        if unit_name == name:
            return index, unit_name, factor
    raise KeyError("unit %s is not in Channel%d.txt" % (name, type_code))


# ---------------------------------------------------------------------------
# The sounding file


def depth_text(depth_mm, newer, sep):
    if newer:
        return right(fixed(depth_mm / 1000.0, 3, sep), 7)
    return right(fixed(depth_mm / 1000.0, 2, sep), 6)


def speed_text(speed, newer, sep):
    return right(fixed(speed, 2, sep), 6 if newer else 7)


def channel_line(fields):
    return " " * LEAD_WIDTH + "".join(right(f, FIELD_WIDTH) for f in fields)


def raw_text(raw, sep):
    return fixed(raw, 5, sep)


def write_sounding(path, sample, tables):
    rng = random.Random(sample["seed"] + 1)
    sep = sample.get("sep", ".")
    newer = sample["layout"] == "newer"
    cone = CONES[sample["calibration"]]
    channels = sample["channels"]
    increment = sample["increment_mm"] / 1000.0

    # Depths in whole millimetres, with the drill-out gaps and any depth
    # encoder slip of the sample.
    depths_mm = []
    depth = sample["start_mm"]
    gaps = dict(sample.get("gaps", {}))
    slip = sample.get("slip")  # (from_mm, to_mm, offset_mm)
    while len(depths_mm) < sample["count"]:
        recorded = depth
        if slip and slip[0] <= depth < slip[1]:
            recorded = depth + slip[2]
        depths_mm.append(recorded)
        if depth in gaps:
            depth = gaps[depth]
        else:
            depth += sample["increment_mm"]
    profile = Profile(sample["layers"], [d / 1000.0 for d in depths_mm], increment, 1.85, sample["seed"],
                      refusal_at=sample.get("refusal_at"))

    lines = []
    lines.append(NEWER_VERSION_LINE if newer else OLDER_VERSION_LINE)
    header = sample["header"]
    for key in ("company", "operator", "cone", "location", "job", "hole", "date", "header", "footnote1",
                "footnote2", "gps", "water"):
        lines.append(header[key])
    lines.append("")
    lines.append("")

    described = []
    for kind, unit_name in channels:
        type_code, name = KINDS[kind]
        span, baseline, full_scale, drift = cone[kind]
        _index, unit_name, factor = unit_of(tables, type_code, unit_name)
        base_unit = tables[type_code][0][0]
        described.append((kind, type_code, name, span, baseline, full_scale, drift, unit_name, factor, base_unit))

    lines.append(channel_line(number_text(d[1], sep) for d in described))
    lines.append(channel_line(d[2] for d in described))
    lines.append(channel_line(number_text(d[3], sep) for d in described))
    lines.append(channel_line(raw_text(d[4], sep) for d in described))
    lines.append(channel_line(number_text(d[5], sep) + " " + d[9] for d in described))
    lines.append(channel_line(d[7] for d in described))
    lines.append(channel_line(number_text(d[8], sep) for d in described))
    lines.append("    (m)(cm/s)" if newer else "   (m) (cm/s)")

    # The sleeve sits 0.1 m behind the tip: the acquisition program stores the
    # sleeve reading at the tip's depth, so the first 0.1 m has no sleeve data.
    lag = sample.get("sleeve_lag", 0)
    markers = dict(sample.get("markers", {}))
    for r, depth_mm in enumerate(depths_mm):
        row = depth_text(depth_mm, newer, sep) + speed_text(profile.speed[r], newer, sep)
        for kind, type_code, name, span, baseline, full_scale, drift, unit_name, factor, base_unit in described:
            if kind == "sleeve" and r < lag:
                row += right(NO_DATA, FIELD_WIDTH)
                continue
            value = profile.values(kind)[r]
            if kind == "sleeve" and r < sample.get("sleeve_above_ground", 0):
                value = abs(rng.gauss(0.0, 0.3))  # the sleeve is still in the air
            row += right(raw_text(baseline + value / full_scale * span, sep), FIELD_WIDTH)
        lines.append(row)
        if depth_mm in markers:
            lines.append(markers[depth_mm])

    if sample.get("final_baseline", True):
        lines.append(channel_line(raw_text(d[4] + d[6], sep) for d in described))

    with open(path, "wb") as fh:
        fh.write("".join(line + "\r\n" for line in lines).encode("cp1252"))
    return len(depths_mm)


# ---------------------------------------------------------------------------
# The samples

# Site of hole CPT-03 (pushed in two parts, the first ending on the dense sand).
SITE_RIVERSIDE = [
    (1.2, "fill"), (3.4, "crust"), (7.2, "softclay"), (7.7, "cemented"), (10.5, "sand"), (11.0, "silt"),
    (13.5, "densesand"), (16.0, "siltyclay"), (25.0, "densesand"),
]

HEADER_CPT03 = dict(
    company="Northfold Geotechnical Inc.",
    operator="R. Lindqvist",
    cone="CN-1208",
    location="Riverside Industrial Park, Lot 14, Columbus OH",
    job="J21-0417",
    hole="CPT-03",
    date="04/27/2021 09:42:17 AM",
    header="CPTU - PROPOSED WAREHOUSE FOUNDATIONS, ZONE B",
    footnote1="10 cm\u00b2 cone, 150 cm\u00b2 sleeve, u2 filter, net area ratio 0.80",
    footnote2="Water level measured in open hole after extraction",
    gps="",
    water="1.85",
)

SAMPLES = [
    dict(
        file="sample-older.cpt", layout="older", seed=1208, calibration="CN-1208",
        channels=[("tip", "TSF"), ("sleeve", "TSF"), ("u2", "PSI")],
        increment_mm=20, start_mm=20, count=600, sleeve_lag=5,
        gaps={7240: 7600},
        markers={7240: "DRILLOUT FROM 7.24 M TO 7.60 M"},
        layers=SITE_RIVERSIDE, refusal_at=12.40,
        header=HEADER_CPT03,
    ),
    dict(
        file="sample-older-push2.cpt", layout="older", seed=1209, calibration="CN-1208 second push",
        channels=[("tip", "TSF"), ("sleeve", "TSF"), ("u2", "PSI")],
        increment_mm=20, start_mm=12800, count=260, sleeve_lag=5,
        layers=SITE_RIVERSIDE,
        header=dict(HEADER_CPT03, date="04/27/2021 01:58:40 PM",
                    header="CPTU - PROPOSED WAREHOUSE FOUNDATIONS, ZONE B - SECOND PUSH",
                    footnote2="Drilled out from 12.34 m to 12.80 m with 100 mm auger before the second push"),
    ),
    dict(
        file="sample-newer.cpt", layout="newer", seed=1311, calibration="CN-1311",
        channels=[("tip", "MPA"), ("sleeve", "KPA"), ("u2", "KPA"), ("inclx", "DEG"), ("incly", "DEG"),
                  ("temperature", "DEGC")],
        increment_mm=10, start_mm=10, count=1100, sleeve_lag=10,
        layers=[(0.8, "topsoil"), (2.5, "silt"), (6.0, "loosesand"), (9.0, "softclay"), (20.0, "densesand")],
        header=dict(
            company="Northfold Geotechnical Ltd.",
            operator="M. Tremblay",
            cone="CN-1311",
            location="Fraser Landing, Pier 4 approach, Richmond BC",
            job="V21-0388",
            hole="CPT-07",
            date="2021-06-14 10:05:33",
            header="SEISMIC LIQUEFACTION ASSESSMENT - PIER 4 APPROACH FILL",
            footnote1="10 cm\u00b2 cone, u2 filter, inclinometer and temperature module",
            footnote2="Cone temperature stabilised at 11.4 \u00b0C before the push",
            gps="GGA,170533.000,4910.4512,N,12307.8834,W,1,9,0.8,4.2,M,-17.3,M,,0000*00",
            water="1.85",
        ),
    ),
    dict(
        file="sample-comma.cpt", layout="newer", sep=",", seed=977, calibration="CN-0977",
        channels=[("tip", "MPA"), ("sleeve", "MPA"), ("u2", "MPA"), ("inclx", "DEG"), ("incly", "DEG"),
                  ("temperature", "DEGC")],
        increment_mm=20, start_mm=20, count=420, sleeve_lag=5,
        layers=[(1.0, "fill"), (3.5, "peat"), (8.0, "softclay"), (20.0, "sand")],
        header=dict(
            company="Veldmaat Grondonderzoek B.V.",
            operator="J. de Wit",
            cone="CN-0977",
            location="Polder Oostkade, dijkvak 12, Zoetermeer",
            job="NL-2021-114",
            hole="S-11",
            date="14.09.2021 08:31:12",
            header="SONDERING MET WATERSPANNINGSMETING - DIJKVERSTERKING",
            footnote1="Conus 10 cm\u00b2, filter u2, oppervlakteverhouding a = 0,80",
            footnote2="Grondwaterstand gemeten in open sondeergat na afloop",
            gps="GGA,063112.000,5203.2345,N,00429.5678,E,1,11,0.7,-1.2,M,43.5,M,,0000*00",
            water="1,85",
        ),
    ),
    dict(
        file="sample-10ch.cpt", layout="newer", seed=1402, calibration="CN-1402",
        channels=[("tip", "MPA"), ("sleeve", "KPA"), ("u2", "KPA"), ("inclx", "DEG"), ("incly", "DEG"),
                  ("temperature", "DEGC"), ("u1", "KPA"), ("conductivity", "mS/m"), ("incl", "DEG"),
                  ("thrust", "KN")],
        increment_mm=20, start_mm=20, count=400, sleeve_lag=5,
        layers=[(0.9, "fill"), (2.8, "crust"), (5.6, "softclay"), (6.4, "silt"), (20.0, "sand")],
        header=dict(
            company="Northfold Geotechnical Inc.",
            operator="A. Okafor",
            cone="CN-1402",
            location="Duwamish Yard, Bay 3, Seattle WA",
            job="J21-0562",
            hole="SCPTU-12",
            date="2021-07-02 14:20:09",
            header="ENVIRONMENTAL AND GEOTECHNICAL CPTU - FORMER RAIL YARD",
            footnote1="10 cm\u00b2 cone, u1 and u2 filters, resistivity module",
            footnote2="Thrust measured at the rig; cone temperature 12.1 \u00b0C at start",
            gps="GGA,212009.000,4733.1167,N,12220.3412,W,2,10,0.9,18.6,M,-22.9,M,,0000*00",
            water="1.85",
        ),
    ),
    dict(
        file="sample-nopore.cpt", layout="older", seed=815, calibration="CN-0815",
        channels=[("tip", "MPA"), ("sleeve", "KPA")],
        increment_mm=20, start_mm=20, count=450, sleeve_above_ground=5,
        # The depth wheel slipped by 1 cm after the rod change at 3 m and
        # caught up at the next one; a cobble layer was drilled out at 5.10 m.
        slip=(3020, 4000, -10),
        gaps={5100: 5560},
        markers={5100: "******** DRILLED OUT 5.10 M TO 5.56 M ********"},
        layers=[(1.5, "fill"), (4.2, "crust"), (5.1, "silt"), (5.6, "cemented"), (20.0, "sand")],
        final_baseline=False,
        header=dict(
            company="Coastline Geotesting Pty Ltd",
            operator="S. Papadopoulos",
            cone="CN-0815",
            location="Meadowbank Wharf upgrade, Ryde NSW",
            job="SYD-21-073",
            hole="CPT-05",
            date="18/03/2021 11:02:45",
            header="ELECTRIC FRICTION CONE - WHARF APRON",
            footnote1="10 cm\u00b2 friction cone without pore pressure filter",
            footnote2="Cobbles from 5.10 m drilled out; push resumed at 5.56 m",
            gps="GGA,000245.000,3349.2723,S,15105.4519,E,1,8,1.1,12.4,M,22.3,M,,0000*00",
            water="1.85",
        ),
    ),
]


def main(argv):
    out_dir = argv[1] if len(argv) > 1 else os.path.join(DATA_DIR, "samples")
    os.makedirs(out_dir, exist_ok=True)
    tables = load_tables(DATA_DIR)
    for sample in SAMPLES:
        count = write_sounding(os.path.join(out_dir, sample["file"]), sample, tables)
        print("%s: %d readings" % (sample["file"], count))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
