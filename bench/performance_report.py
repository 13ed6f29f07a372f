#!/usr/bin/env python3
"""Turns the benchmark results of one `make bench` run into docs/PERFORMANCE.md and its chart.

Inputs (all in the results folder): core.json and gui.json (Google Benchmark JSON with median
aggregates), time-<case>-<n>.txt (the output of /usr/bin/time -v for each run of the batch
program) and machine.txt (key=value lines). The chart is drawn by gnuplot as SVG.
"""

import argparse
import json
import os
import re
import statistics
import subprocess
import sys

UNIT_TO_MS = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}


def load_medians(path):
    """{run name: {"ms": wall median, "cpu_ms": cpu median, "counters": {...}}}"""
    if not os.path.exists(path):
        return {}
    with open(path) as f:
        data = json.load(f)
    medians = {}
    for b in data.get("benchmarks", []):
        if b.get("run_type") == "aggregate" and b.get("aggregate_name") != "median":
            continue
        if b.get("error_occurred"):
            medians[b["run_name"]] = {"error": b.get("error_message", "error")}
            continue
        scale = UNIT_TO_MS[b.get("time_unit", "ns")]
        counters = {k: v for k, v in b.items() if k not in KNOWN_FIELDS}
        medians[b["run_name"]] = {
            "ms": b["real_time"] * scale,
            "cpu_ms": b["cpu_time"] * scale,
            "counters": counters,
        }
    return medians


KNOWN_FIELDS = {
    "name", "family_index", "per_family_instance_index", "run_name", "run_type", "repetitions",
    "repetition_index", "threads", "iterations", "real_time", "cpu_time", "time_unit",
    "aggregate_name", "aggregate_unit", "label", "error_occurred", "error_message",
}


def load_times(folder):
    """{case: [(wall seconds, max RSS MB, exit status), ...]} from /usr/bin/time -v outputs."""
    runs = {}
    for name in sorted(os.listdir(folder)):
        m = re.fullmatch(r"time-(.+)-(\d+)\.txt", name)
        if not m:
            continue
        text = open(os.path.join(folder, name)).read()
        wall = re.search(r"Elapsed \(wall clock\) time \(h:mm:ss or m:ss\): (\S+)", text)
        rss = re.search(r"Maximum resident set size \(kbytes\): (\d+)", text)
        status = re.search(r"Exit status: (\d+)", text)
        if not (wall and rss):
            continue
        seconds = 0.0
        for part in wall.group(1).split(":"):
            seconds = seconds * 60 + float(part)
        runs.setdefault(m.group(1), []).append(
            (seconds, int(rss.group(1)) / 1024.0, int(status.group(1)) if status else -1))
    return runs


def fmt_ms(ms):
    if ms is None:
        return "–"
    if ms >= 100:
        return f"{ms:,.0f} ms"
    if ms >= 10:
        return f"{ms:.1f} ms"
    if ms >= 0.1:
        return f"{ms:.2f} ms"
    return f"{ms * 1000:.2f} µs"


class Report:
    def __init__(self, medians):
        self.m = medians
        self.missing = []

    def ms(self, name):
        entry = self.m.get(name)
        if entry is None or "ms" not in entry:
            self.missing.append(name)
            return None
        return entry["ms"]

    def counter(self, name, key):
        entry = self.m.get(name, {})
        return entry.get("counters", {}).get(key)

    def floor(self, names):
        values = [self.ms(n) for n in names]
        return None if any(v is None for v in values) else sum(values)


def verdict(ok):
    if ok is None:
        return "–"
    return "met" if ok else "**not met**"


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("results")
    parser.add_argument("docs")
    args = parser.parse_args()

    medians = {}
    medians.update(load_medians(os.path.join(args.results, "core.json")))
    medians.update(load_medians(os.path.join(args.results, "gui.json")))
    r = Report(medians)
    times = load_times(args.results)
    machine = dict(
        line.rstrip("\n").split("=", 1)
        for line in open(os.path.join(args.results, "machine.txt"))
        if "=" in line)

    out = []
    w = out.append
    w("# Performance")
    w("")
    w("Written by `make bench` (bench/run_benchmarks, bench/performance_report.py); do not edit by "
      "hand. Every figure is the **median** of "
      f"{machine.get('repetitions', '?')} repetitions of a Google Benchmark run in the release build "
      "(wall-clock time), set beside its **floor**: the least work any program must do on the "
      "same input, measured in the same run, so that each figure reads as a ratio rather than an "
      "absolute time. The machine is shared with other builds, which is why medians are taken; "
      "the load average at the start and end of the run is given below.")
    w("")
    w("## Machine")
    w("")
    w(f"- CPU: {machine.get('cpu', '?')}, {machine.get('nproc', '?')} cores (nproc)")
    w(f"- Date: {machine.get('date', '?')}")
    w(f"- Load average at the start: {machine.get('load_start', '?')}; after the core "
      f"benchmarks (the jobs among them): {machine.get('load_core', '?')}; at the end: "
      f"{machine.get('load_end', '?')}")
    w(f"- Compiler: {machine.get('compiler', '?')}; Google Benchmark {machine.get('benchmark', '?')}")
    w("")
    w("## Floors")
    w("")
    w("- **read + split**: the file's bytes read whole and split at commas and line ends into "
      "views, nothing else (Floors.cpp, `ReadAndSplitFloor`).")
    w("- **join arithmetic**: for every pair of the plan's PSMs, their MGA coordinates already in "
      "arrays, the mid-point latitude from a closed-form foot-point latitude (the rectifying "
      "latitude and its four-term series, no iteration) and Redfearn's series, `LineScaleFactor`, "
      "the grid distance and bearing (`JoinArithmeticFloor`).")
    w("- **a whole job**: `kestral_floor` (bench/FloorProgram.cpp), a process of its own that "
      "reads and splits the job's input files, does the joins' arithmetic and writes as many "
      "bytes as the job writes (standard output, and the report through a temporary file, "
      "synced and renamed), its big buffers in memory advised for huge pages.")
    w("- A figure whose work spans both has the sum of its floors (the plan's files read and split "
      "plus the arithmetic of its joins, for instance).")
    w("")

    # name, label, benchmark, floor benchmarks, target text, check(ms, ratio) -> bool or None
    rows = [
        ("Mark Details files (the Open command's core: read, average height, duplicate removal; "
         "1% repeated marks)", [
            ("Open 1,000 marks", "BM_OpenMarkDetails/1000", ["BM_FloorReadSplitMarkDetails/1000"],
             "", None),
            ("Open 10,000 marks", "BM_OpenMarkDetails/10000",
             ["BM_FloorReadSplitMarkDetails/10000"], "", None),
            ("Open 200,000 marks", "BM_OpenMarkDetails/200000",
             ["BM_FloorReadSplitMarkDetails/200000"], "≤ 3× floor", lambda ms, x: x <= 3),
            ("Batch program, 200,000 marks and a plan of one line (RunCli in-process)",
             "BM_BatchOpenMarks", ["BM_FloorReadSplitMarkDetails/200000"], "< 500 ms",
             lambda ms, x: ms < 500),
            ("Window: Open 200,000 marks until the grid has painted (offscreen)",
             "BM_WindowOpenMarks/200000", ["BM_WindowFloorReadSplitMarkDetails/200000"],
             "< 1 s", lambda ms, x: ms < 1000),
            ("Import 200,000 delimited lines (core)", "BM_ImportTextFile/200000",
             ["BM_FloorReadSplitDelimited/200000"], "< 1 s", lambda ms, x: ms < 1000),
            ("Window: import OK until the grid has painted 200,000 rows",
             "BM_ImportOkToRowsShown/200000", ["BM_WindowFloorReadSplitDelimited/200000"],
             "< 1 s", lambda ms, x: ms < 1000),
        ]),
        ("Plan build (lines and curve files read, usable lines marked, points placed)", [
            ("1,000 lines", "BM_PlanBuild/1000", ["BM_FloorReadSplitPlan/1000"], "", None),
            ("20,000 lines", "BM_PlanBuild/20000", ["BM_FloorReadSplitPlan/20000"], "", None),
            ("100,000 lines (10,000 curves)", "BM_PlanBuild/100000",
             ["BM_FloorReadSplitPlan/100000"], "≤ 5× floor; < 300 ms",
             lambda ms, x: x <= 5 and ms < 300),
            ("1,000 lines, worst order", "BM_PlanBuildWorstOrder/1000",
             ["BM_FloorReadSplitPlanWorstOrder/1000"], "", None),
            ("20,000 lines, worst order", "BM_PlanBuildWorstOrder/20000",
             ["BM_FloorReadSplitPlanWorstOrder/20000"], "< 50 ms", lambda ms, x: ms < 50),
            ("100,000 lines, worst order", "BM_PlanBuildWorstOrder/100000",
             ["BM_FloorReadSplitPlanWorstOrder/100000"], "", None),
        ]),
        ("Comparison against the statewide list of 200,000 marks (plan of 20,000 lines)", [
            ("60 PSMs (1,770 joins): plan build, index, comparison", "BM_Compare/60",
             ["BM_FloorReadSplitComparisonPlan/60", "BM_FloorJoinArithmetic/60"], "< 50 ms",
             lambda ms, x: ms < 50),
            ("300 PSMs (44,850 joins): plan build, index, comparison", "BM_Compare/300",
             ["BM_FloorReadSplitComparisonPlan/300", "BM_FloorJoinArithmetic/300"], "< 500 ms",
             lambda ms, x: ms < 500),
            ("1,000 PSMs (499,500 joins): plan build, index, comparison", "BM_Compare/1000",
             ["BM_FloorReadSplitComparisonPlan/1000", "BM_FloorJoinArithmetic/1000"], "", None),
            ("60 PSMs: comparison alone, index built", "BM_CompareIndexed/60",
             ["BM_FloorJoinArithmetic/60"], "≤ 3× floor", lambda ms, x: x <= 3),
            ("300 PSMs: comparison alone, index built", "BM_CompareIndexed/300",
             ["BM_FloorJoinArithmetic/300"], "≤ 3× floor", lambda ms, x: x <= 3),
            ("1,000 PSMs: comparison alone, index built", "BM_CompareIndexed/1000",
             ["BM_FloorJoinArithmetic/1000"], "≤ 3× floor", lambda ms, x: x <= 3),
            ("300 PSMs: diagnosis of the comparison's judgements (against the comparison alone)",
             "BM_Diagnose/300", ["BM_CompareIndexed/300"], "< 1× the comparison",
             lambda ms, x: x < 1),
            ("Batch program, 300 PSMs, 200,000 marks (RunCli in-process, from the open to the "
             "last output line)", "BM_BatchCompare/300",
             ["BM_FloorReadSplitMarkDetails/200000", "BM_FloorReadSplitComparisonPlan/300",
              "BM_FloorJoinArithmetic/300"], "", None),
        ]),
        ("Joins report, 300 PSMs with full join details", [
            ("Composed in memory", "BM_ComposeJoinsReport", ["BM_FloorJoinArithmetic/300"], "",
             None),
            ("Saved to a file", "BM_SaveJoinsReport", ["BM_FloorJoinArithmetic/300"], "< 1 s",
             lambda ms, x: ms < 1000),
        ]),
        ("Join calculation window, 200,000 complete marks (offscreen)", [
            ("Calculate Joins until the window has painted its list",
             "BM_CalculateJoinsToListShown/200000", [], "< 1 s", lambda ms, x: ms < 1000),
            ("One pick: the join from the previous mark, its row shown", "BM_PickAJoin/200000",
             [], "", None),
        ]),
        ("Mark index", [
            ("Index build, 200,000 marks", "BM_MarkIndexBuild/200000", [], "< 100 ms",
             lambda ms, x: ms < 100),
            ("One MGA join against 200,000 marks, indexed", "BM_CombinedScaleFactor/200000", [],
             "< 2 µs", lambda ms, x: ms < 0.002),
        ]),
    ]

    jobs_section(w, r, times, load_sizes(args.results).get("marks"))
    w("## Figures")
    w("")
    w("| Figure | Median | Floor | × floor | Target | |")
    w("|---|---:|---:|---:|---|---|")
    for section, entries in rows:
        w(f"| **{section}** | | | | | |")
        for label, name, floors, target, check in entries:
            ms = r.ms(name)
            floor = r.floor(floors) if floors else None
            ratio = ms / floor if (ms is not None and floor) else None
            ok = None
            if check is not None and ms is not None:
                ok = check(ms, ratio if ratio is not None else 0.0)
            ratio_text = f"{ratio:.1f}×" if ratio is not None else "–"
            w(f"| {label} | {fmt_ms(ms)} | {fmt_ms(floor)} | {ratio_text} | {target} | "
              f"{verdict(ok)} |")
    peak = r.counter("BM_WindowOpenMarks/200000", "peak_MB")
    turn = [r.counter("BM_ResultsWindowFill/300/5000", "longest_turn_ms"),
            r.counter("BM_ResultsWindowFill/300/500", "longest_turn_ms")]
    w("")
    before = r.counter("BM_WindowOpenMarks/200000", "rss_before_MB")
    if peak is not None:
        held = (f", {before:.0f} MB of it resident before the opens (Qt, the window, and what the "
                "run's earlier benchmarks keep)" if before is not None else "")
        w(f"The window's open of 200,000 marks peaked at **{peak:.0f} MB** resident (the whole "
          f"process with Qt, measured from the open's start{held}; target 300 MB: "
          f"{verdict(peak < 300)}).")
    fill = r.ms("BM_ResultsWindowFill/300/5000")
    if fill is not None and turn[0] is not None:
        w(f"The results window filled with the 300-PSM comparison's lines takes {fmt_ms(fill)}; "
          f"its longest turn of the event loop is {turn[0]:.0f} ms with 5,000 lines a turn and "
          f"{turn[1]:.0f} ms with 500.")
    w("")

    w("## What the indexes buy (direct / indexed)")
    w("")
    w("The direct variants are kept in the benchmarks as the reference: a `CombinedScaleFactor` "
      "that scans the mark list for both keys at every join (bench/DirectJoins.cpp), and the plan "
      "passes that look at every usable line for every unplaced point, pass after pass "
      "(tests/reference/PlanPasses.cpp).")
    w("")
    w("| Work | Size | Direct | Indexed | Direct / indexed |")
    w("|---|---:|---:|---:|---:|")
    pairs = [("One MGA join", f"{n:,} marks", f"BM_CombinedScaleFactorByScan/{n}",
              f"BM_CombinedScaleFactor/{n}") for n in (1000, 10000, 200000)]
    pairs += [("Placing points, traverse", f"{n:,} lines", f"BM_PlaceTraverseByPasses/{n}",
               f"BM_PlaceTraverse/{n}") for n in (1000, 20000)]
    pairs += [("Placing points, chain listed from its far end", f"{n:,} lines",
               f"BM_PlaceChainFromFarEndByPasses/{n}", f"BM_PlaceChainFromFarEnd/{n}")
              for n in (100, 200, 400)]
    for work, size, direct, indexed in pairs:
        d, i = r.ms(direct), r.ms(indexed)
        ratio = f"{d / i:,.0f}×" if d and i else "–"
        w(f"| {work} | {size} | {fmt_ms(d)} | {fmt_ms(i)} | {ratio} |")
    w("")

    w("## The batch program from outside (/usr/bin/time -v)")
    w("")
    w("`kestralmga-cli compare --marks marks.csv --plan P --max-order 6` on the files written by "
      "kestral_bench_data (the same data sets), standard output to /dev/null; median wall time and "
      f"median peak resident memory of {machine.get('repetitions', '?')} runs.")
    w("")
    w("| Case | Wall time | Peak memory | Target | |")
    w("|---|---:|---:|---|---|")
    cases = [
        ("one", "200,000 marks, plan of one line (the open)", "< 0.5 s, < 200 MB",
         lambda s, mb: s < 0.5 and mb < 200),
        ("p60", "200,000 marks, 60 PSMs, 20,000 lines", "", None),
        ("p300", "200,000 marks, 300 PSMs, 20,000 lines", "", None),
        ("p1000", "200,000 marks, 1,000 PSMs, 20,000 lines", "", None),
        ("p300-report", "as p300, with --report (full joins, 19 MB)", "", None),
    ]
    for key, label, target, check in cases:
        runs = times.get(key)
        if not runs:
            w(f"| {label} | – | – | {target} | – |")
            continue
        s = statistics.median(x[0] for x in runs)
        mb = statistics.median(x[1] for x in runs)
        ok = check(s, mb) if check else None
        w(f"| {label} | {s * 1000:,.0f} ms | {mb:,.0f} MB | {target} | {verdict(ok)} |")
    w("")
    readers_section(w, times, args.results, machine)
    w("## Growth")
    w("")
    w("![Time against size: comparison and plan build](performance.svg)")
    w("")
    w("Log-log axes: a line of slope 1 is linear growth, slope 2 quadratic. The comparison grows "
      "with the number of joins (P(P−1)/2) and keeps to its floor; the plan build grows with the "
      "number of lines in either order of the lines.")
    w("")
    notes_path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "performance-notes.md")
    if os.path.exists(notes_path):
        w(open(notes_path).read().rstrip("\n"))
        w("")
    if r.missing:
        w("Missing from this run: " + ", ".join(sorted(set(r.missing))) + ".")
        w("")

    with open(os.path.join(args.docs, "PERFORMANCE.md"), "w") as f:
        f.write("\n".join(out))
    draw_chart(r, args.results, os.path.join(args.docs, "performance.svg"))
    if r.missing:
        print("performance_report: missing " + ", ".join(sorted(set(r.missing))), file=sys.stderr)


JOBS = [
    ("A 20,000-line plan with 300 PSMs (44,850 joins) against its 300 marks, result lines to "
     "standard output", 0),
    ("The statewide list of 200,000 marks (19 MB), a plan with 60 PSMs, its joins report", 1),
    ("The 300-PSM plan with the full joins report (16 MB)", 2),
]


def median_of(times, key, index):
    runs = times.get(key)
    return statistics.median(x[index] for x in runs) if runs else None


def jobs_section(w, r, times, marks_size):
    """The three large jobs as whole processes, CPU time, against their floor and the build before."""
    w("## The three large jobs (whole processes, CPU time)")
    w("")
    w("Each job run as the batch program `kestralmga-cli compare --max-order 6 ...` from start to "
      "end, measured by its CPU time (user and system, `wait4`) so that the machine's load "
      "matters less; the median of 5 runs (bench/bench_jobs.cpp, `BM_Job`), beside its floor "
      "(`kestral_floor`, see Floors) and, where the run was given one (`KESTRAL_BEFORE_CLI`), "
      "beside the build before this work on the same data in the same run. Peak memory: "
      "/usr/bin/time, median of the runs. Target: within 5× of the floor.")
    w("")
    w("| Job | Before | × floor | Now | × floor | Floor | Peak memory before | now | Target | |")
    w("|---|---:|---:|---:|---:|---:|---:|---:|---|---|")
    for label, job in JOBS:
        now = r.ms(f"BM_Job/job:{job}/variant:0/iterations:5/manual_time")
        floor = r.ms(f"BM_Job/job:{job}/variant:1/iterations:5/manual_time")
        entry = r.m.get(f"BM_Job/job:{job}/variant:2/iterations:5/manual_time", {})
        before = entry.get("ms")
        ratio = now / floor if now and floor else None
        before_ratio = before / floor if before and floor else None
        peak_now = median_of(times, f"job-{job}", 1)
        peak_before = median_of(times, f"before-{job}", 1)
        mb = lambda v: f"{v:,.0f} MB" if v is not None else "–"
        x = lambda v: f"{v:.1f}×" if v is not None else "–"
        w(f"| {label} | {fmt_ms(before)} | {x(before_ratio)} | {fmt_ms(now)} | {x(ratio)} | "
          f"{fmt_ms(floor)} | {mb(peak_before)} | {mb(peak_now)} | ≤ 5× floor | "
          f"{verdict(ratio <= 5 if ratio else None)} |")
    w("")
    peak = median_of(times, "job-1", 1)
    if peak is not None and marks_size:
        ratio = peak * 1024 * 1024 / marks_size
        w(f"The statewide job peaked at **{peak:,.1f} MB**, {ratio:.2f}× the list's file "
          f"({marks_size / 1e6:,.0f} MB; target under 2.5×: {verdict(ratio < 2.5)}).")
    window = r.ms("BM_WindowOpenMarks/200000")
    batch = r.ms("BM_BatchOpenMarks")
    if window is not None and batch:
        w(f"The window's open of the same list, from the command to the grid painted, takes "
          f"{fmt_ms(window)}, {window / batch:.1f}× the batch program's read of it "
          f"({fmt_ms(batch)}, in-process; target within 3×: {verdict(window / batch <= 3)}).")
    plain = r.counter("BM_ProgramStart/plugin:0/real_time", "cpu_ms")
    qt = r.counter("BM_ProgramStart/plugin:1/real_time", "cpu_ms")
    if plain is not None and qt is not None:
        w(f"The batch program starts and ends (`--version`) in {plain:.1f} ms of CPU time; with the "
          f"printing plug-in loaded, as `--pdf` and `--diagram` load it (Qt), in {qt:.1f} ms. Any "
          "other run never loads Qt.")
    floor = r.ms("BM_FloorJoinArithmetic/300")
    iterated = r.ms("BM_JoinArithmeticIterated/300")
    if floor and iterated:
        w(f"The foot-point latitude is found, as the program must find it, by iterating the "
          f"meridian distance to 0.1 mm; the same 44,850 joins with that iteration take "
          f"{fmt_ms(iterated)} against the floor's {fmt_ms(floor)} in closed form: the iteration "
          f"alone keeps the joins' arithmetic {iterated / floor:.1f}× from its floor.")
    w("")


def load_sizes(folder):
    """{case: input size in bytes} from sizes.txt (lines "case bytes")."""
    path = os.path.join(folder, "sizes.txt")
    if not os.path.exists(path):
        return {}
    return {name: int(size) for name, size in (line.split() for line in open(path) if line.strip())}


def readers_section(w, times, results, machine):
    """Peak memory of each reader on input that is not a sound text file, against its size."""
    sizes = load_sizes(results)
    w("## Peak memory of the readers (the batch program from outside)")
    w("")
    w("Each reader of the batch program on a line of 50,000,000 commas (50 MB) and on what is "
      "not text at all; median wall time and peak resident memory (the whole program, about "
      f"15 MB of it its own) of {machine.get('repetitions', '?')} runs, and the peak over the "
      "size of the input. Target: under 3× the file.")
    w("")
    w("| Case | Input | Wall time | Peak memory | × input | Target | |")
    w("|---|---:|---:|---:|---:|---|---|")
    cases = [
        ("commas-marks", "Mark Details file (`save --marks`)", True),
        ("commas-stdin", "Mark Details file through a pipe (`--marks /dev/stdin`)", True),
        ("commas-import", "Text file of coordinates (`save --import`)", True),
        ("commas-lines", "Lines file (`compare --plan`, 10 marks)", True),
        ("commas-curve", "Curve file (`compare --plan`, one curved line)", True),
        ("zeros-2g", "2 GiB of zeros, sparse (`--marks`): refused by its size", False),
        ("dev-zero", "/dev/zero (`--marks`): refused by its first 4 KiB", False),
        ("one", "For comparison: the 200,000-mark list opened (the `one` case above)", False),
    ]
    for key, label, targeted in cases:
        runs = times.get(key)
        size = sizes.get("marks" if key == "one" else key)
        if not runs or size is None:
            w(f"| {label} | – | – | – | – | {'< 3×' if targeted else ''} | – |")
            continue
        s = statistics.median(x[0] for x in runs)
        mb = statistics.median(x[1] for x in runs)
        ratio = mb * 1024 * 1024 / size if size else None
        ratio_text = f"{ratio:.1f}×" if ratio is not None else "–"
        ok = verdict(ratio < 3) if targeted and ratio is not None else "–"
        w(f"| {label} | {size / 1e6:,.0f} MB | {s * 1000:,.0f} ms | {mb:,.0f} MB | {ratio_text} | "
          f"{'< 3×' if targeted else ''} | {ok} |")
    w("")
    w("The mark list keeps its cells in one run of bytes that starts with the file's own, read "
      "once and never copied, and 44 bytes a row saying where each cell lies; its rows, the "
      "repeat check and the PSM index are blocks of their own offered huge pages. The "
      "200,000-mark list thus takes the file's size, about half as much again for its rows and "
      "index, and the program.")
    w("")


def draw_chart(r, results, svg):
    compare = []
    for p in (60, 300, 1000):
        joins = p * (p - 1) // 2
        compare.append((joins, r.ms(f"BM_Compare/{p}"), r.ms(f"BM_CompareIndexed/{p}"),
                        r.ms(f"BM_FloorJoinArithmetic/{p}")))
    plan = []
    for n in (1000, 20000, 100000):
        plan.append((n, r.ms(f"BM_PlanBuild/{n}"), r.ms(f"BM_PlanBuildWorstOrder/{n}"),
                     r.ms(f"BM_FloorReadSplitPlan/{n}")))
    jobs = []
    for label, job in (("300 PSMs", 0), ("200,000 marks", 1), ("full report", 2)):
        values = [r.m.get(f"BM_Job/job:{job}/variant:{v}/iterations:5/manual_time", {}).get("ms")
                  for v in (2, 0, 1)]
        jobs.append((f'"{label}"', *values))
    for name, rows in (("compare.dat", compare), ("plan.dat", plan), ("jobs.dat", jobs)):
        with open(os.path.join(results, name), "w") as f:
            for row in rows:
                f.write(" ".join("NaN" if v is None else (v if isinstance(v, str) else repr(v))
                                 for v in row) + "\n")
    script = f"""
set terminal svg size 1440,420 font "sans,11" background rgb "white"
set output "{svg}"
set multiplot layout 1,3
set logscale xy
set grid
set key top left
set ylabel "median time (ms)"
set title "Comparison against 200,000 marks"
set xlabel "joins (60, 300 and 1,000 PSMs)"
plot "{results}/compare.dat" using 1:2 with linespoints title "plan build + index + comparison", \\
     "" using 1:3 with linespoints title "comparison, index built", \\
     "" using 1:4 with linespoints dashtype 2 title "floor: join arithmetic"
set title "Plan build"
set xlabel "lines"
plot "{results}/plan.dat" using 1:2 with linespoints title "traverse order", \\
     "" using 1:3 with linespoints title "worst order (chain from its far end)", \\
     "" using 1:4 with linespoints dashtype 2 title "floor: read + split"
unset logscale x
set title "The three large jobs (whole processes)"
set xlabel ""
set ylabel "median CPU time (ms)"
set style data histograms
set style histogram clustered gap 1
set style fill solid 0.8 border -1
set yrange [5:*]
set key top right
plot "{results}/jobs.dat" using 2:xtic(1) title "before", \
     "" using 3 title "now", \
     "" using 4 title "floor"
unset multiplot
"""
    subprocess.run(["gnuplot"], input=script, text=True, check=True)


if __name__ == "__main__":
    main()
