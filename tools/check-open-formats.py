#!/usr/bin/python3
"""Exports soundings to AGS4 and GEF-CPT with the batch tool and runs the
receivers' own readers on every file: python-ags4's check_file with the
4.0.4, 4.1, 4.1.1 and 4.2 standard dictionaries (no error allowed) and
pygef's ParseGEF (no exception allowed). The depth, cone resistance,
friction and pore-pressure columns of each GEF file, as written and as pygef
reads them, and the same headings of each AGS4 file, must equal the
sounding's CSV export to the decimals written.

The soundings: every sample in data/samples, and generated ones covering
both layouts, every channel type, channels without a tip, empty and
non-ASCII header texts, no readings, readings without data, feet, elevation,
GPS positions on every side of the globe and changed channel units; several
of them once more with the interpretation (--interpret), whose GEF and AGS4
columns must equal the CSV's within the roundings of both.

usage: check-open-formats.py VALIDATORS [--cli build/bin/quillmere-cli] [--keep DIR]

VALIDATORS is the folder holding python-ags4/, pygef-0.4.3/ and
ags4_compat.py. Run it with Debian's /usr/bin/python3 (python3-pandas).
Exits 1 naming every file and check that failed.
"""

import argparse
import csv
import glob
import math
import os
import subprocess
import sys
import tempfile
import warnings

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
sys.path.insert(0, HERE)
import make_samples as ms  # noqa: E402  (the sounding file layout and the tables)

DICTIONARIES = ["4_0_4", "4_1", "4_1_1", "4_2"]
# Dictionary entries that are information, not findings about the file.
NOT_ERRORS = {"Summary of data", "Metadata"}
# GEF quantity number -> (channel type, pygef's column name).
GEF_COMPARED = {2: (1, "qc"), 3: (2, "fs"), 5: (4, "u1"), 6: (3, "u2"), 7: (5, "u3")}
AGS_COMPARED = {"SCPT_RES": 1, "SCPT_FRES": 2, "SCPT_PWP1": 4, "SCPT_PWP2": 3, "SCPT_PWP3": 5}
# The interpretation's columns against the CSV's: GEF quantity or AGS4
# heading -> (CSV header, factor from the CSV's unit).
GEF_INTERPRETED = {11: ("Corrected depth (m)", 1.0), 13: ("qt (MPa)", 1.0), 14: ("qn (MPa)", 1.0), 15: ("Bq", 1.0),
                   17: ("Unit weight (kN/m3)", 1.0), 18: ("u0 (kPa)", 0.001), 19: ("sigma_v0 (kPa)", 0.001),
                   20: ("sigma'_v0 (kPa)", 0.001)}
AGS_INTERPRETED = {"SCPT_QT": ("qt (MPa)", 1.0), "SCPT_BDEN": ("Unit weight (kN/m3)", 1 / 9.81),
                   "SCPT_CPO": ("sigma_v0 (kPa)", 1.0), "SCPT_CPOD": ("sigma'_v0 (kPa)", 1.0),
                   "SCPT_QNET": ("qn (MPa)", 1.0), "SCPT_FRRC": ("Rf (%)", 1.0), "SCPT_BQ": ("Bq", 1.0),
                   "SCPT_ISPP": ("u0 (kPa)", 0.001), "SCPT_NQT": ("Qt1", 1.0), "SCPT_NFR": ("Fr (%)", 1.0),
                   "SCPT_IC": ("Ic", 1.0)}
# Soundings exported once more after --interpret.
INTERPRETED = ["sample-10ch", "sample-nopore", "gen-newer-dictionary-types", "gen-no-tip", "gen-no-readings",
               "gen-empty-header", "gen-elevation"]
# Pressure channels are compared in MPa: the CSV export run selects it.
MPA_TYPES = (1, 2, 3, 4, 5)

# ---------------------------------------------------------------------------
# Generated soundings

FULL_HEADER = dict(company="Testfeld Sondierung GmbH", operator="K. Lind", cone="CN-3001",
                   location="Quay 4, Hafen", job="J-77", hole="CPT-G1", date="2024-05-06 09:10:11",
                   header="GENERATED SOUNDING", footnote1="", footnote2="",
                   gps="GGA,091011.000,5130.1234,N,00012.5000,E,1,9,0.8,4.2,M,45.0,M,,0000*00", water="1.50")
EMPTY_HEADER = {k: "" for k in FULL_HEADER}
BLANK_HEADER = dict(EMPTY_HEADER, company="   ", job=" ", hole="  ", cone="\t", location=";!#,")
NON_ASCII_HEADER = dict(FULL_HEADER, company='M\u00fcller & S\u00f6hne, "Gr\u00fcnd" \u20ac', operator="\u00c5se \u00d8stby",
                        cone="CN-\u00b2 #7", location="Stra\u00dfe 3; Pier \u00abA\u00bb!", job="P-\u00e9t\u00e9, 1",
                        hole="S\u00e9-1!", header="Lehm \u00b0C \u00bd", gps="")


def channel(type_code, name, unit, full_scale, curve):
    return dict(type=type_code, name=name, unit=unit, full_scale=full_scale, curve=curve)


def tip(unit="MPA"):
    return channel(1, "TIP RESISTANCE", unit, 100000.0, lambda z, r: 2000.0 + 900.0 * z + 300.0 * math.sin(r))


def sleeve(unit="KPA"):
    return channel(2, "SLEEVE FRICTION", unit, 1000.0, lambda z, r: 20.0 + 6.0 * z + 3.0 * math.cos(r))


def pore(type_code, name, unit="KPA"):
    return channel(type_code, name, unit, 3447.5, lambda z, r: -5.0 + 9.81 * z + 4.0 * math.sin(0.7 * r))


def plain(type_code, name, unit, full_scale, base):
    return channel(type_code, name, unit, full_scale, lambda z, r: base + 0.3 * z + 0.1 * math.sin(r))


ALL_DICTIONARY_TYPES = [tip(), sleeve(), pore(4, "PRESSURE U1"), pore(3, "PRESSURE U2"), pore(5, "PRESSURE U3"),
                        plain(11, "CONDUCTIVITY", "mS/m", 2000.0, 35.0), plain(10, "TEMPERATURE", "DEGC", 100.0, 12.0),
                        plain(6, "INCLINATION X", "DEG", 20.0, 0.4), plain(7, "INCLINATION Y", "DEG", 20.0, -0.3),
                        plain(14, "FRICTION RATIO", "%", 100.0, 1.2)]
OTHER_TYPES = [tip("KPA"), plain(19, "REDOX", "MV", 1000.0, 120.0), plain(15, "MAGNETIC", "NT", 100000.0, 48000.0),
               plain(17, "MOISTURE", "%", 100.0, 22.0), plain(16, "GAMMA", "CPS", 1000.0, 40.0),
               plain(9, "INCLINATION", "DEG", 20.0, 0.5), plain(8, "SHEAR WAVE", "M/S", 1000.0, 180.0),
               plain(12, "RESISTIVITY", "OHM-M", 1000.0, 30.0), plain(13, "THRUST", "KN", 200.0, 20.0),
               plain(20, "AUX", "V", 10.0, 1.0)]

GENERATED = [
    # name, layout, channels, header, count, extra actions, voids
    ("gen-older", "older", [tip(), sleeve(), pore(3, "PRESSURE U2")], FULL_HEADER, 40, [], False),
    ("gen-newer-dictionary-types", "newer", ALL_DICTIONARY_TYPES, FULL_HEADER, 40, [], True),
    ("gen-other-types", "newer", OTHER_TYPES, FULL_HEADER, 30, [], False),
    ("gen-no-tip", "older", [sleeve(), pore(3, "PRESSURE U2")], FULL_HEADER, 30, [], False),
    ("gen-no-standard-channel", "older", [plain(13, "THRUST", "KN", 200.0, 20.0)], FULL_HEADER, 20, [], False),
    ("gen-empty-header", "older", [tip(), sleeve()], EMPTY_HEADER, 20, [], False),
    ("gen-blank-header", "newer", [tip(), sleeve()], BLANK_HEADER, 20, [], False),
    ("gen-non-ascii", "older", [tip(), sleeve(), pore(3, "PRESSURE U2")], NON_ASCII_HEADER, 20, [], False),
    ("gen-no-readings", "older", [tip(), sleeve(), pore(3, "PRESSURE U2")], FULL_HEADER, 0, [], False),
    ("gen-no-readings-empty-header", "newer", [sleeve()], EMPTY_HEADER, 0, [], False),
    ("gen-feet", "older", [tip(), sleeve()], FULL_HEADER, 25, ["--depth-units", "ft"], False),
    ("gen-elevation", "older", [tip(), sleeve(), pore(3, "PRESSURE U2")], FULL_HEADER, 25,
     ["--depth-format", "elevation"], False),
    ("gen-gps-south-west", "newer", [tip(), sleeve()],
     dict(FULL_HEADER, gps="GGA,120000.000,3349.27235,S,00000.12345,W,1,8,1.0,12.0,M,22.0,M,,0000*00"), 20, [], False),
    ("gen-units", "older", [tip("BAR"), sleeve("TSF"), pore(3, "PRESSURE U2", "PSI"), pore(4, "PRESSURE U1", "MH2O"),
                            plain(11, "CONDUCTIVITY", "uS/cm", 2000.0, 35.0), plain(6, "INCLINATION X", "GON", 20.0, 0.4)],
     FULL_HEADER, 30, [], True),
    # Fewer than 12 readings: the load takes the sounding for elevation.
    ("gen-short", "older", [tip(), sleeve()], FULL_HEADER, 8, [], False),
    ("gen-two-tips", "newer", [tip(), tip("KPA"), sleeve()], FULL_HEADER, 20, [], False),
]


def write_generated(path, layout, channels, header, count, voids, tables):
    newer = layout == "newer"
    lines = [ms.NEWER_VERSION_LINE if newer else ms.OLDER_VERSION_LINE]
    for key in ("company", "operator", "cone", "location", "job", "hole", "date", "header", "footnote1",
                "footnote2", "gps", "water"):
        lines.append(header[key])
    lines += ["", ""]
    span, baseline = 5.0, 0.1
    described = []
    for ch in channels:
        _index, unit_name, factor = ms.unit_of(tables, ch["type"], ch["unit"])
        described.append((ch, unit_name, factor, tables[ch["type"]][0][0]))
    lines.append(ms.channel_line(ms.number_text(d[0]["type"], ".") for d in described))
    lines.append(ms.channel_line(d[0]["name"] for d in described))
    lines.append(ms.channel_line(ms.number_text(span, ".") for d in described))
    lines.append(ms.channel_line(ms.raw_text(baseline, ".") for d in described))
    lines.append(ms.channel_line(ms.number_text(d[0]["full_scale"], ".") + " " + d[3] for d in described))
    lines.append(ms.channel_line(d[1] for d in described))
    lines.append(ms.channel_line(ms.number_text(d[2], ".") for d in described))
    lines.append("    (m)(cm/s)" if newer else "   (m) (cm/s)")
    for r in range(count):
        depth_mm = 20 * (r + 1)
        row = ms.depth_text(depth_mm, newer, ".") + ms.speed_text(2.0, newer, ".")
        for k, (ch, *_rest) in enumerate(described):
            if voids and (r == 0 or (r + k) % 7 == 3):
                row += ms.right(ms.NO_DATA, ms.FIELD_WIDTH)
                continue
            value = ch["curve"](depth_mm / 1000.0, r)
            row += ms.right(ms.raw_text(baseline + value / ch["full_scale"] * span, "."), ms.FIELD_WIDTH)
        lines.append(row)
    with open(path, "wb") as fh:
        fh.write("".join(line + "\r\n" for line in lines).encode("cp1252"))


# ---------------------------------------------------------------------------
# Running the batch tool


def run_cli(cli, sounding, args):
    env = dict(os.environ, LC_ALL="C", QM_TODAY="2026-01-15")
    done = subprocess.run([cli, sounding, *args], env=env, capture_output=True)
    if done.returncode != 0:
        raise RuntimeError("quillmere-cli %s failed (%d): %s" % (" ".join(args), done.returncode,
                                                              done.stderr.decode("cp1252", "replace")))
    return done.stdout.decode("cp1252", "replace")


def channel_types(info):
    types = []
    for line in info.splitlines():
        parts = line.strip().split("\t")
        if len(parts) == 4 and parts[2].startswith("type "):
            types.append(int(parts[2].split()[1]))
    return types


def read_csv(path):
    with open(path, newline="", encoding="utf-8") as f:
        rows = list(csv.reader(f))
    return rows[0], rows[1:]


def decimals_of(text):
    return len(text.split(".")[1]) if "." in text else 0


def close_texts(written, csv_text, scale, where, problems):
    """Two rounded texts of one value: within both roundings."""
    if (written in ("", "-9999")) != (csv_text == ""):
        problems.append("%s: %r written, %r in the CSV" % (where, written, csv_text))
        return
    if csv_text == "":
        return
    # The CSV comes from a run whose --units rescaled the stored values, so
    # the inputs may differ in the last place of a float as well.
    slack = 0.5 * 10 ** -decimals_of(written) + 0.5 * 10 ** -decimals_of(csv_text) * abs(scale) + 1e-6 * abs(float(written))
    if abs(float(written) - float(csv_text) * scale) > slack:
        problems.append("%s: %s written, %s in the CSV" % (where, written, csv_text))


def close(written, expected, where, problems):
    """`written` (text with its decimals) against the CSV's full value."""
    decimals = len(written.split(".")[1]) if "." in written else 0
    if abs(float(written) - expected) > 0.5 * 10 ** -decimals + 1e-6 * abs(expected) + 1e-12:
        problems.append("%s: %s written, %r in the CSV" % (where, written, expected))


# ---------------------------------------------------------------------------
# GEF-CPT


def gef_records(path):
    with open(path, encoding="ascii") as f:
        text = f.read()
    header, data = text.split("#EOH=", 1)
    quantities = {}
    for line in header.splitlines():
        if line.startswith("#COLUMNINFO="):
            fields = [x.strip() for x in line.split("=", 1)[1].split(",")]
            quantities[int(fields[0])] = int(fields[-1])
    records = [r.strip().rstrip("!").split(";") for r in data.strip().splitlines()]
    return header, quantities, records


def import_parse_gef():
    """pygef's module imports matplotlib for its plots, which reading a file
    never draws: without matplotlib, empty stand-ins let the import pass."""
    try:
        import matplotlib.pyplot  # noqa: F401
    except ImportError:
        import types

        for name in ("matplotlib", "matplotlib.pyplot", "matplotlib.patches"):
            sys.modules.setdefault(name, types.ModuleType(name))
        sys.modules["matplotlib"].pyplot = sys.modules["matplotlib.pyplot"]
        sys.modules["matplotlib"].patches = sys.modules["matplotlib.patches"]
    from pygef.gef import ParseGEF

    return ParseGEF


def check_gef(path, types, csv_header, csv_rows, validators, problems):
    ParseGEF = import_parse_gef()

    name = os.path.basename(path)
    header, quantities, records = gef_records(path)
    if quantities.get(1) != 1 or quantities.get(2) != 2:
        problems.append("%s: columns 1 and 2 are not penetration length and cone resistance" % name)
    for line in header.splitlines():
        if line.rstrip().endswith("=") or line.rstrip().endswith(",") or ", ," in line:
            problems.append("%s: keyword without its value: %s" % (name, line))
    if "#ZID=" not in header:
        problems.append("%s: no #ZID" % name)
    try:
        with warnings.catch_warnings():
            warnings.simplefilter("ignore")
            gef = ParseGEF(path)
    except Exception as e:  # the reader's refusal is the finding
        problems.append("%s: pygef ParseGEF: %s: %s" % (name, type(e).__name__, e))
        return
    if not gef.test_id or gef.test_id.startswith("#"):
        problems.append("%s: pygef reads the test id as %r" % (name, gef.test_id))

    # The records as written, against the CSV, row by row.
    if csv_rows and len(records) != len(csv_rows):
        problems.append("%s: %d records for %d readings" % (name, len(records), len(csv_rows)))
    columns = {}
    for column, quantity in quantities.items():
        if quantity in GEF_COMPARED and GEF_COMPARED[quantity][0] in types:
            columns[column] = types.index(GEF_COMPARED[quantity][0]) + 1
    for r, (record, row) in enumerate(zip(records, csv_rows)):
        if record[0] != "-9999" and float(record[0]) < 0:
            problems.append("%s record %d: penetration length %s above the surface" % (name, r + 1, record[0]))
        close(record[0], abs(float(row[0])), "%s record %d depth" % (name, r + 1), problems)
        for column, c in columns.items():
            text = record[column - 1]
            if row[c] == "":
                if text != "-9999":
                    problems.append("%s record %d column %d: %s for a reading without data" % (name, r + 1, column, text))
            elif text == "-9999":
                problems.append("%s record %d column %d: void for %s" % (name, r + 1, column, row[c]))
            else:
                close(text, float(row[c]), "%s record %d column %d" % (name, r + 1, column), problems)
        for column, quantity in quantities.items():
            if quantity in GEF_INTERPRETED and GEF_INTERPRETED[quantity][0] in csv_header:
                label, scale = GEF_INTERPRETED[quantity]
                close_texts(record[column - 1], row[csv_header.index(label)], scale,
                            "%s record %d quantity %d" % (name, r + 1, quantity), problems)

    # What pygef makes of them: rows whose record holds no void keep their
    # values (pygef interpolates voids and drops rows it cannot fill).
    by_depth = {}
    for record, row in zip(records, csv_rows):
        by_depth.setdefault(record[0], (record, row))
    decimals = len(records[0][0].split(".")[1]) if records and "." in records[0][0] else 2
    for _i, frame_row in gef.df.iterrows():
        key = "%.*f" % (decimals, frame_row["penetration_length"])
        if key not in by_depth:
            problems.append("%s: pygef gives a depth %s that no record holds" % (name, key))
            continue
        record, row = by_depth[key]
        if "-9999" in record:
            continue
        for column, c in columns.items():
            label = GEF_COMPARED[quantities[column]][1]
            if label in frame_row and row[c] != "":
                close(record[column - 1], float(frame_row[label]), "%s pygef %s at %s" % (name, label, key), problems)
                close(record[column - 1], float(row[c]), "%s pygef %s at %s (CSV)" % (name, label, key), problems)


# ---------------------------------------------------------------------------
# AGS4


def check_ags(path, types, csv_header, csv_rows, ags4, validators, problems):
    name = os.path.basename(path)
    lib = os.path.join(validators, "python-ags4", "python_ags4")
    for version in DICTIONARIES:
        dictionary = os.path.join(lib, "Standard_dictionary_v%s.ags" % version)
        errors = ags4.check_file(path, standard_AGS4_dictionary=dictionary)
        for rule, entries in errors.items():
            if rule in NOT_ERRORS:
                continue
            for e in entries:
                problems.append("%s (dictionary %s): %s line %s %s: %s" % (
                    name, version.replace("_", "."), rule, e.get("line"), e.get("group"), e.get("desc")))
    tables, headings = agss_tables(ags4, path)
    if "SCPT" not in tables:
        if csv_rows:
            problems.append("%s: no SCPT group for %d readings" % (name, len(csv_rows)))
        return
    scpt = tables["SCPT"]
    data = scpt[scpt["HEADING"] == "DATA"]
    if len(data) != len(csv_rows):
        problems.append("%s: %d SCPT rows for %d readings" % (name, len(data), len(csv_rows)))
    for r, ((_i, frame_row), row) in enumerate(zip(data.iterrows(), csv_rows)):
        if float(frame_row["SCPT_DPTH"]) < 0:
            problems.append("%s SCPT row %d: depth %s above the surface" % (name, r + 1, frame_row["SCPT_DPTH"]))
        close(frame_row["SCPT_DPTH"], abs(float(row[0])), "%s SCPT row %d depth" % (name, r + 1), problems)
        for heading, type_code in AGS_COMPARED.items():
            if heading not in headings["SCPT"] or type_code not in types:
                continue
            c = types.index(type_code) + 1
            text = frame_row[heading]
            if (text == "") != (row[c] == ""):
                problems.append("%s SCPT row %d %s: %r for %r" % (name, r + 1, heading, text, row[c]))
            elif text != "":
                close(text, float(row[c]), "%s SCPT row %d %s" % (name, r + 1, heading), problems)
        for heading, (label, scale) in AGS_INTERPRETED.items():
            if heading in headings["SCPT"] and label in csv_header:
                close_texts(frame_row[heading], row[csv_header.index(label)], scale,
                            "%s SCPT row %d %s" % (name, r + 1, heading), problems)


def agss_tables(ags4, path):
    with warnings.catch_warnings():
        warnings.simplefilter("ignore")
        return ags4.AGS4_to_dataframe(path)


# ---------------------------------------------------------------------------


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("validators")
    parser.add_argument("--cli", default=os.path.join(ROOT, "build", "bin", "quillmere-cli"))
    parser.add_argument("--keep", help="write the files into this folder and keep them")
    opts = parser.parse_args()
    validators = os.path.abspath(opts.validators)
    sys.path.insert(0, validators)
    sys.path.insert(0, os.path.join(validators, "pygef-0.4.3"))
    import ags4_compat

    ags4 = ags4_compat.use(os.path.join(validators, "python-ags4"))
    import logging

    logging.disable(logging.WARNING)  # python-ags4 warns about every missing DICT group

    tables = ms.load_tables(os.path.join(ROOT, "data"))
    with tempfile.TemporaryDirectory() as scratch:
        folder = opts.keep or scratch
        os.makedirs(folder, exist_ok=True)
        samples = sorted(glob.glob(os.path.join(ROOT, "data", "samples", "*.cpt")))
        cases = [(p, os.path.splitext(os.path.basename(p))[0], [], []) for p in samples]
        for name, layout, channels, header, count, actions, voids in GENERATED:
            path = os.path.join(folder, name + ".cpt")
            write_generated(path, layout, channels, header, count, voids, tables)
            cases.append((path, name, actions, []))
        cases += [(p, n + "-interpreted", ["--interpret"] + a, t) for p, n, a, t in list(cases) if n in INTERPRETED]
        # The AGS4 recipient and status as the user gives them.
        cases.append((samples[0], "given-transfer", [], ["--ags-recipient", "Kaimauer AG", "--ags-status", "Final"]))

        problems, files = [], 0
        for sounding, name, actions, transfer in cases:
            info = run_cli(opts.cli, sounding, ["--info"])
            types = channel_types(info)
            units = []
            for c, t in enumerate(types, start=1):
                if t in MPA_TYPES:
                    units += ["--units", "%d=MPA" % c]
            out = os.path.join(folder, name)
            run_cli(opts.cli, sounding, actions + ["--export-gef", out + ".gef", "--force",
                                                       "--export-ags", out + ".ags", "--force", *transfer])
            # The CSV in metres, whatever the page shows.
            run_cli(opts.cli, sounding, [a for a in actions if a not in ("--depth-units", "ft")] + units +
                    ["--export-csv", out + ".csv", "--force"])
            csv_header, csv_rows = read_csv(out + ".csv")
            before = len(problems)
            check_gef(out + ".gef", types, csv_header, csv_rows, validators, problems)
            check_ags(out + ".ags", types, csv_header, csv_rows, ags4, validators, problems)
            files += 2
            print("%-36s %s" % (name, "ok" if len(problems) == before else "%d problems" % (len(problems) - before)))
    for p in problems[:200]:
        print(p, file=sys.stderr)
    print("check-open-formats: %d files, %d problems" % (files, len(problems)))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
