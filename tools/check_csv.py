#!/usr/bin/env python3
"""Reads the batch tool's CSV of a sounding with Python's csv module and
compares it with what the tool itself shows: the reading count of --info and
the first and last 24 page rows of --page, each number within the rounding
of the page's pattern, -32768 on the page as an empty field in the file.

usage: check_csv.py QUILLMERE_CLI SAMPLE.cpt
Exits non-zero, saying why, at the first difference."""

import csv
import os
import subprocess
import sys
import tempfile


def tool(cli, sample, *args):
    env = dict(os.environ, LC_ALL="C")
    done = subprocess.run([cli, sample, *args], env=env, capture_output=True, encoding="cp1252", check=True)
    return done.stdout


def fail(why):
    sys.exit("check_csv: " + why)


def close(page_text, csv_text, where):
    if page_text.strip() == "-32768.0" or page_text.strip().startswith("-32768"):
        if csv_text != "":
            fail(f"{where}: the page shows no data, the file holds {csv_text!r}")
        return
    page, value = float(page_text), float(csv_text)
    decimals = len(page_text.split(".")[1]) if "." in page_text else 0
    if abs(page - value) > 0.5 * 10 ** -decimals + 1e-9 * abs(value):
        fail(f"{where}: the page shows {page_text}, the file holds {csv_text}")


def main():
    cli, sample = sys.argv[1], sys.argv[2]
    with tempfile.TemporaryDirectory() as folder:
        path = os.path.join(folder, "out.csv")
        info = tool(cli, sample, "--info", "--export-csv", path)
        with open(path, newline="", encoding="utf-8") as f:
            rows = list(csv.reader(f))
    count = int(next(l for l in info.splitlines() if l.startswith("Readings:")).split()[1])
    header, data = rows[0], rows[1:]
    if len(data) != count:
        fail(f"{len(data)} rows for {count} readings")
    if header[0] != "Depth (m)" or header[-1] != "Speed (cm/s)":
        fail(f"unexpected header {header}")
    first = tool(cli, sample, "--page").splitlines()
    last = tool(cli, sample, "--page", str(count)).splitlines()
    for page, start in ((first, 0), (last, count - 24)):
        for k, line in enumerate(page):
            cells, row = line.split("\t"), data[start + k]
            if len(cells) != len(row):
                fail(f"reading {start + k + 1}: {len(cells)} page cells, {len(row)} fields")
            for column, (cell, field) in enumerate(zip(cells, row)):
                close(cell, field, f"reading {start + k + 1}, column {header[column]!r}")
    print(f"check_csv: {os.path.basename(sample)}: {count} rows, {len(header)} columns agree with the page")


if __name__ == "__main__":
    main()
