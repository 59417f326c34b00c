"""Reads a CSV log the program wrote, as other programs would: with Python's csv module, and
imported into a table the way a spreadsheet takes a CSV file (sqlite3's CSV import, which takes
the first row as column names). Exits 1 with a message when either reads it otherwise than
written: three readings of lambda 0.987, 0.997, 1.007 and one marker row."""
import csv
import subprocess
import sys

path = sys.argv[1]
HEADER = ["Time (s)", "Date and time", "Lambda", "AFR", "Supply (V)", "Warmup", "Mark"]


def fail(message):
    print(message, file=sys.stderr)
    sys.exit(1)


with open(path, newline="", encoding="utf-8") as f:
    rows = list(csv.reader(f, strict=True))
if rows[0] != HEADER:
    fail(f"header read as {rows[0]}")
readings = [r for r in rows[1:] if r[2] != ""]
marks = [r for r in rows[1:] if r[6] != ""]
if [round(float(r[2]), 3) for r in readings] != [0.987, 0.997, 1.007]:
    fail(f"lambda read as {[r[2] for r in readings]}")
if any(len(r) != len(HEADER) for r in rows):
    fail("a row with another number of fields")
if [m[6] for m in marks] != ["001 - Manual mark"]:
    fail(f"marks read as {marks}")
if sum(float(r[3]) for r in readings) <= 0 or any("T" not in r[1] for r in rows[1:]):
    fail("AFR or date and time not read")

imported = subprocess.run(
    ["sqlite3", ":memory:"],
    input=f".import --csv '{path}' log\n"
    "SELECT count(*), round(sum(\"Lambda\"), 3), count(\"Mark\") FILTER (WHERE \"Mark\" <> '') "
    "FROM log WHERE \"Lambda\" <> '';\n",
    capture_output=True, text=True, check=False)
if imported.returncode != 0 or imported.stdout.strip() != "3|2.991|0":
    fail(f"spreadsheet-style import gave {imported.stdout!r} {imported.stderr!r}")
sys.exit(0)
