#!/usr/bin/env bash
# Lists the slowest suites of the last CTest run in a build folder, each with its share of its
# TIMEOUT, so that a suite drifting towards its limit shows before a busy machine fails it.
#
#   bash scripts/suite-times.sh [BUILD_DIR] [COUNT]
#
# Reads the JUnit file the test command asks CTest for (ctest-junit.xml), or else CTest's own
# record of the last run; the limits come from CTest itself. A suite without a TIMEOUT of its
# own has CTest's --timeout, given here as DEFAULT_TIMEOUT (default 600). Exits 1 when a suite
# used more than a third of its limit (the project's rule), 0 otherwise; it fails no build.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build}
count=${2:-10}
cd "$build"
python3 - "$count" "${DEFAULT_TIMEOUT:-600}" <<'EOF'
import json, os, re, subprocess, sys
import xml.etree.ElementTree as ET

count, default_limit = int(sys.argv[1]), float(sys.argv[2])

times = {}
if os.path.exists("ctest-junit.xml"):
    for case in ET.parse("ctest-junit.xml").getroot().iter("testcase"):
        times[case.get("name")] = (float(case.get("time", 0)), case.get("status", ""))
else:
    # LastTest.log: a "Testing: NAME" line, later its "Test time = T sec".
    name = None
    for line in open("Testing/Temporary/LastTest.log", errors="replace"):
        m = re.match(r"\d+/\d+ Testing: (.+)$", line.strip())
        if m:
            name = m.group(1)
        m = re.match(r"\"?Test time =\s*([0-9.]+) sec", line.strip())
        if m and name:
            times[name] = (float(m.group(1)), "run")
            name = None
if not times:
    print("suite-times: no test run recorded in " + os.getcwd())
    sys.exit(0)

# Asking CTest for the limits rewrites its log of the last run: keep that as it was.
log = "Testing/Temporary/LastTest.log"
kept = open(log, "rb").read() if os.path.exists(log) else None
listing = subprocess.run(["ctest", "--show-only=json-v1"], capture_output=True, text=True, check=True).stdout
if kept is not None:
    open(log, "wb").write(kept)
limits = {}
for test in json.loads(listing)["tests"]:
    props = {p["name"]: p["value"] for p in test.get("properties", [])}
    limits[test["name"]] = float(props.get("TIMEOUT", default_limit))

rows = sorted(((t, n, s, limits.get(n, default_limit)) for n, (t, s) in times.items()), reverse=True)
total = sum(t for t, *_ in rows)
print(f"Slowest suites in {os.getcwd()} ({len(rows)} run, {total:.0f} s of suite time in all):")
print(f"  {'suite':<34} {'seconds':>8} {'limit':>6} {'share':>6}")
for t, n, s, limit in rows[:count]:
    flag = "" if t <= limit / 3 else "  over a third"
    print(f"  {n:<34} {t:8.1f} {limit:6.0f} {100 * t / limit:5.0f}%{flag}")
over = [n for t, n, s, limit in rows if t > limit / 3]
if over:
    print("suite-times: over a third of their limit: " + ", ".join(over))
    sys.exit(1)
print("suite-times: every suite within a third of its limit")
EOF
