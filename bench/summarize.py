#!/usr/bin/env python3
"""Turns the Google Benchmark JSON output into the markdown table of docs/performance.md."""
import json
import re
import sys

BUDGETS = [  # (name prefix, budget in ms, what the budget is)
    ("Startup/", 500, "start-up to the main window"),
    ("Query/", 50, "search keystroke or list opening"),
    ("NextNumber/", 5, "next document number"),
    ("Print/Invoice", 300, "document print preview"),
    ("Print/Listing", 2000, "listing"),
]


def budget_of(name):
    for prefix, ms, _ in BUDGETS:
        if name.startswith(prefix):
            return ms
    return None


def main():
    results, plans, generation, peak, output = sys.argv[1:6]
    data = json.load(open(results))
    ctx = data["context"]
    rows = {}
    for b in data["benchmarks"]:
        if b.get("run_type") == "aggregate":
            continue
        unit = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}[b.get("time_unit", "ns")]
        rows[b["name"].split("/iterations:")[0]] = (
            b["real_time"] * unit, b.get("rows"), b.get("error_message"))
    model = "?"
    try:
        for line in open("/proc/cpuinfo"):
            if line.startswith("model name"):
                model = line.split(":", 1)[1].strip()
                break
    except OSError:
        pass
    print("Machine: %s CPUs (%s) at %s MHz; %s; Torvane built with the release preset" % (
        ctx.get("num_cpus"), model, ctx.get("mhz_per_cpu"), ctx.get("date", "")))
    try:
        print("\n" + open(generation).read().strip())
    except OSError:
        pass
    try:
        print("\nProgram peak memory on the large database: %d MB" % (int(open(peak).read().split()[-1]) // 1024))
    except (OSError, ValueError, IndexError):
        pass
    m = re.search(r"peak memory: (\d+) MB", open(output).read())
    if m:
        print("Benchmark process peak memory: %s MB" % m.group(1))
    print("\n| Operation | Ours (ms) | SQLite alone (ms) | Ratio | Budget (ms) | |")
    print("|---|---:|---:|---:|---:|---|")
    for name, (ms, nrows, err) in rows.items():
        if name.endswith("/sqlite") or name.endswith("/filecopy"):
            continue
        base = rows.get(name + "/sqlite") or rows.get(name + "/filecopy")
        budget = budget_of(name)
        if err:
            status = "error: " + err
        elif budget is None:
            status = ""
        else:
            status = "OVER" if ms > budget else "ok"
        print("| %s | %.2f | %s | %s | %s | %s |" % (
            name, ms,
            "%.2f" % base[0] if base else "",
            "%.2f" % (ms / base[0]) if base and base[0] > 0 else "",
            budget if budget else "", status))
    scans = [l.split(None, 1)[1].strip() for l in open(plans) if l.startswith("SCAN ")]
    walks = [l.split(None, 1)[1].strip() for l in open(plans) if l.startswith("walk ")]
    print("\nQueries whose plan reads a whole large table: %s" % (", ".join(scans) if scans else "none"))
    print("\nQueries that walk a large table in index order (fast only while the first screenful"
          " comes early): %s" % (", ".join(walks) if walks else "none"))


if __name__ == "__main__":
    main()
