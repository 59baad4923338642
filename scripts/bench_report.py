#!/usr/bin/env python3
"""Turns benchmark runs into docs/benchmarks/README.md and the ratio charts.

Usage: bench_report.py LINUX.json MEMORY.json DLL32.json DLL64.json OUT_DIR

LINUX.json comes from Google Benchmark (orvjson_bench), DLL32.json and
DLL64.json from our own timing driver run for the 32-bit and the 64-bit DLL
under wine (orvjson_timing); all use Google Benchmark's JSON form. Each OrvJson benchmark is paired with its floor,
the raw RapidJSON code doing the same work, measured in the same run. The
machine is shared and noisy, so every time is the minimum over the
repetitions, and a ratio is OrvJson's minimum over the floor's minimum.
"""
import json
import os
import sys
from collections import defaultdict

CORPORA = ["canada", "citm", "twitter"]
GENERATED = ["numbers", "strings", "records"]
READ_ALL_SIZES = [1000, 10000, 100000, 1000000]
READ_ALL_TARGET = 3.0  # per-member cost at 1,000,000 members against 1,000
FILE_PEAK_TARGET = 2.0  # a file load's peak memory, in file sizes
SMALL_DOCUMENT_TARGET = 512  # bytes of heap per handle

# (operation, OrvJson benchmark, floor benchmark, target ratio or None, input)
PAIRS = []
for i, name in enumerate(CORPORA):
    PAIRS += [
        ("LoadFromString vs exact parse", f"OrvLoadFromString/{i}", f"RapidParseFull/{i}", 1.0, name),
        ("LoadFromString vs inexact parse (reference)", f"OrvLoadFromString/{i}", f"RapidParseDefault/{i}", None, name),
        ("LoadJsonFile vs read + exact parse", f"OrvLoadJsonFile/{i}", f"RapidLoadFile/{i}", 1.0, name),
        # Writing canada is mostly RapidJSON's double formatting, which the text keeps digit for digit:
        # there the target is twice the speed of RapidJSON's Writer, elsewhere at least its speed.
        ("GetString vs Writer + StringBuffer", f"OrvGetString/{i}", f"RapidWriteString/{i}",
         0.5 if name == "canada" else 1.05, name),
        ("WriteToFile vs write + fsync + rename + folder sync", f"OrvWriteToFile/{i}", f"RapidSaveFile/{i}", 1.05,
         name),
        ("WriteToFile vs write + fsync + rename (no folder sync)", f"OrvWriteToFile/{i}",
         f"RapidSaveFileNoFolderSync/{i}", None, name),
        ("WriteToFile vs write, not synced (the cost of a safe save)", f"OrvWriteToFile/{i}", f"RapidWriteFile/{i}",
         None, name),
        ("SetValue(object) vs text round trip", f"OrvCopyIn/{i}", f"RapidWriteThenParse/{i}", 0.4, name),
        ("GetValue(key, object) vs text round trip", f"OrvCopyOutByKey/{i}", f"RapidWriteThenParse/{i}", 0.4, name),
        ("GetValue(index, object) vs text round trip", f"OrvCopyOutByIndex/{i}", f"RapidWriteThenParse/{i}", 0.4,
         name),
    ]
for members in (10, 1000, 100000):
    PAIRS.append(("keyed getter, last member, vs FindMember's scan", f"OrvKeyedGetter/{members}",
                  f"RapidKeyedLookup/{members}", 1.0, f"{members:,} members"))
PAIRS.append(("GetTagCollect", "OrvTagCollect", "RapidListMembers", None, "1,000 members"))
PAIRS.append(("index getter, every element", "OrvIndexGetters", "RapidIndexAccess", 2.0, "1,000,000 doubles"))
# The fastest DOM libraries, measured in the same process. yyjson is built from vendored source everywhere;
# simdjson only where its package is (Linux).
for i, name in enumerate(CORPORA):
    PAIRS += [
        ("peer: LoadFromString vs yyjson_read", f"OrvLoadFromString/{i}", f"YyjsonRead/{i}", 1.0, name),
        ("peer: LoadFromString vs simdjson DOM parse", f"OrvLoadFromString/{i}", f"SimdjsonParse/{i}", None, name),
        ("peer: GetString vs yyjson_write", f"OrvGetString/{i}", f"YyjsonWrite/{i}", None if name == "canada" else 1.0,
         name),
    ]
for k, name in enumerate(GENERATED):
    PAIRS.append(("peer: LoadFromString vs yyjson_read, generated", f"OrvLoadGenerated/{k}", f"YyjsonReadGenerated/{k}",
                  1.0, f"1 MB of {name}"))
PAIRS.append(("peer: Create + LoadFromString + Release vs yyjson read + free", "OrvSmallDocument",
              "YyjsonSmallDocument", 2.0, "45-byte document"))
# Operations with a target in time rather than against a floor: (operation, benchmark, target µs, input).
ABSOLUTE = [("Create + Release", "OrvCreateRelease", 0.020, "an empty handle")]
# The C interface against the C++ export doing the same work (the "floor").
C_CALL_TARGET = 1.1
PAIRS.append(("C: orvjson_get_int vs GetValue(key, int&)", "CKeyedGetter/1000", "OrvKeyedGetter/1000", C_CALL_TARGET,
              "1,000 members"))
PAIRS.append(("C: orvjson_get_double_at vs GetValue(index, double&), every element", "CIndexGetters",
              "OrvIndexGetters", C_CALL_TARGET, "1,000,000 doubles"))
for i, name in enumerate(CORPORA):
    PAIRS.append(("C: orvjson_text into a buffer vs GetString", f"CText/{i}", f"OrvGetString/{i}", C_CALL_TARGET,
                  name))


def minimum_times(results):
    """The best time of each benchmark in microseconds, and the repetitions."""
    times = defaultdict(list)
    for run in results["benchmarks"]:
        if run.get("run_type", "iteration") != "iteration":
            continue
        name = run["run_name"].replace("/real_time", "")
        scale = {"ns": 1e-3, "us": 1.0, "ms": 1e3, "s": 1e6}[run["time_unit"]]
        times[name].append(run["real_time"] * scale)
    return {name: min(values) for name, values in times.items()}, max((len(v) for v in times.values()), default=0)


def fmt_us(value):
    return f"{value:,.3f}" if value < 10 else f"{value:,.0f}"


def met(value, target):
    return "—" if target is None else ("yes" if value <= target else "**no**")


def svg_chart(rows, title):
    bar_h, gap, left, width = 16, 6, 430, 330
    top = 30
    height = top + len(rows) * (bar_h + gap) + 30
    scale_max = max(2.0, max(r[1] for r in rows) * 1.05)

    def x(ratio):
        return left + width * ratio / scale_max

    out = [f'<svg xmlns="http://www.w3.org/2000/svg" width="{left + width + 70}" height="{height}" '
           'font-family="sans-serif" font-size="11">',
           f'<text x="{left}" y="18" font-size="13">{title}</text>']
    for n, (label, ratio, target) in enumerate(rows):
        y = top + n * (bar_h + gap)
        colour = "#5b7db1" if target is None else ("#4c9a2a" if ratio <= target else "#c0392b")
        out.append(f'<text x="{left - 6}" y="{y + bar_h - 4}" text-anchor="end">{label}</text>')
        out.append(f'<rect x="{left}" y="{y}" width="{x(ratio) - left:.1f}" height="{bar_h}" fill="{colour}"/>')
        out.append(f'<text x="{x(ratio) + 4:.1f}" y="{y + bar_h - 4}">{ratio:.2f}</text>')
        if target is not None:
            out.append(f'<line x1="{x(target):.1f}" x2="{x(target):.1f}" y1="{y - 2}" y2="{y + bar_h + 2}" '
                       'stroke="black" stroke-dasharray="2,2"/>')
    one = x(1.0)
    out.append(f'<line x1="{one:.1f}" x2="{one:.1f}" y1="{top - 6}" y2="{height - 24}" stroke="#333"/>')
    out.append(f'<text x="{one:.1f}" y="{height - 10}" text-anchor="middle">1.0</text>')
    out.append("</svg>")
    return "\n".join(out) + "\n"


def ratio_table(best):
    """The table of pairs, and the rows for the chart."""
    lines = ["| Operation | Input | OrvJson µs | Floor µs | Ratio | Target | Met |",
             "|---|---|---:|---:|---:|---:|:-:|"]
    chart, misses = [], []
    for operation, ours, floor, target, label in PAIRS:
        if ours not in best or floor not in best:
            continue
        ratio = best[ours] / best[floor]
        target_text = "—" if target is None else f"≤ {target:.2f}"
        lines.append(f"| {operation} | {label} | {fmt_us(best[ours])} | {fmt_us(best[floor])} | {ratio:.2f} | "
                     f"{target_text} | {met(ratio, target)} |")
        chart.append((f"{operation} ({label})", ratio, target))
        if target is not None and ratio > target:
            misses.append(f"{operation} ({label}): {ratio:.2f}")
    return lines, chart, misses


def absolute_table(best):
    lines = ["| Operation | Input | OrvJson µs | Target µs | Met |", "|---|---|---:|---:|:-:|"]
    misses = []
    for operation, name, target, label in ABSOLUTE:
        if name not in best:
            continue
        lines.append(f"| {operation} | {label} | {best[name]:.3f} | ≤ {target:.3f} | {met(best[name], target)} |")
        if best[name] > target:
            misses.append(f"{operation}: {best[name] * 1000:.0f} ns")
    return lines, misses


def read_all_table(best):
    lines = ["| Members | Time for all µs | Per member ns | Per member / at 1,000 | Target | Met |",
             "|---:|---:|---:|---:|---:|:-:|"]
    misses = []
    base = best.get("OrvReadAllByKey/1000")
    for members in READ_ALL_SIZES:
        total = best.get(f"OrvReadAllByKey/{members}")
        if total is None or base is None:
            continue
        growth = (total / members) / (base / 1000)
        target = READ_ALL_TARGET if members == READ_ALL_SIZES[-1] else None
        lines.append(f"| {members:,} | {fmt_us(total)} | {total / members * 1000:.1f} | {growth:.2f} | "
                     f"{'—' if target is None else f'≤ {target:.1f}'} | {met(growth, target)} |")
        if target is not None and growth > target:
            misses.append(f"read all by key at {members:,}: {growth:.2f}")
    return lines, misses


def context_line(results):
    ctx = results.get("context", {})
    return (f"(context: {ctx.get('host_name', '?')}, {ctx.get('num_cpus', '?')} CPUs, {ctx.get('date', '?')}; "
            f"best of {minimum_times(results)[1]} repetitions)")


def dll_chart(bits):
    return f"ratios-dll{'' if bits == 32 else '64'}.svg"


def main():
    linux = json.load(open(sys.argv[1]))
    memory = json.load(open(sys.argv[2]))
    # A DLL's results are missing where the kernel runs no programs of its
    # width (make says so); the report then says it, and counts it as missed.
    dlls = {bits: json.load(open(path)) if os.path.exists(path) else None
            for bits, path in ((32, sys.argv[3]), (64, sys.argv[4]))}
    out_dir = sys.argv[5]
    best, _ = minimum_times(linux)

    lines = ["# Benchmarks", "",
             "Generated by `make bench-report`. Each OrvJson operation runs interleaved in the same process with",
             "its **floor**: the raw RapidJSON code that does the same work, built with the same compiler and flags.",
             "Times are the best over the repetitions (real time, µs); a ratio is OrvJson / floor, so below 1.0 is",
             "faster than the floor. Library and floors are built as the library ships (`RelWithDebInfo`: -O2).",
             "The rows named C compare a call through the C interface with the C++ export doing the same work;",
             "the rows named peer compare OrvJson with the fastest DOM libraries, yyjson (built from its vendored",
             "source with the same compiler and flags) and simdjson (its Debian package, Linux only), whose times",
             "stand in the floor column.",
             "", "## Linux, x86-64", "",
             "Google Benchmark (`orvjson_bench`) " + context_line(linux) + ".", "",
             "![ratios on Linux](ratios.svg)", ""]
    table, chart, misses = ratio_table(best)
    lines += table
    lines += ["", "### Reading every member by key", "",
              "`GetTagCollect`, then the keyed `int` getter for each name: the interface's own way to read a",
              "document. The cost per member must stay flat as the root grows.", ""]
    table, read_misses = read_all_table(best)
    lines += table
    misses += read_misses
    lines += ["", "### Times without a floor", ""]
    table, absolute_misses = absolute_table(best)
    lines += table
    misses += absolute_misses

    lines += ["", "### Speed against RapidJSON's inexact default parse", "",
              "| Corpus | LoadFromString speed / default parse speed |", "|---|---:|"]
    for i, name in enumerate(CORPORA):
        ours, floor = best.get(f"OrvLoadFromString/{i}"), best.get(f"RapidParseDefault/{i}")
        if ours and floor:
            lines.append(f"| {name} | {floor / ours:.2f} |")

    lines += ["", "### Memory", "",
              "Heap in use (glibc `mallinfo2`) held by a loaded document, against a RapidJSON `Document`",
              "parsed from the same text with its exact-number parse:", "",
              "| Corpus | OrvJson bytes | RapidJSON bytes | Ratio |", "|---|---:|---:|---:|"]
    for name, sizes in memory["loaded"].items():
        lines.append(f"| {name} | {sizes['orvjson']:,} | {sizes['rapidjson']:,} | "
                     f"{sizes['orvjson'] / sizes['rapidjson']:.3f} |")
    peaks = memory["file_peak"]
    lines += ["", f"Peak resident memory of loading a file of about {peaks['megabytes']} MB, each load in a fresh",
              "process (`LoadJsonFile`; yyjson's `yyjson_read_file`), as a multiple of the file's size. The files",
              "are arrays of copies of the corpora in turn, and of each generated kind:", "",
              "| File | Bytes | OrvJson peak | yyjson peak | OrvJson / file | yyjson / file | Target | Met |",
              "|---|---:|---:|---:|---:|---:|---:|:-:|"]
    for name, p in peaks.items():
        if name == "megabytes":
            continue
        ours, theirs = p["orvjson"] / p["file"], p["yyjson"] / p["file"]
        lines.append(f"| {name} | {p['file']:,} | {p['orvjson']:,} | {p['yyjson']:,} | {ours:.2f} | {theirs:.2f} | "
                     f"≤ {FILE_PEAK_TARGET:.2f} | {met(ours, FILE_PEAK_TARGET)} |")
        if ours > FILE_PEAK_TARGET:
            misses.append(f"file load peak, {name}: {ours:.2f}x the file")
    small = memory["small_document"]
    lines += ["", f"Heap per handle over {small['handles']:,} handles, each holding "
              '`{"id":N,"name":"item"}`:', "",
              "| Built by | Bytes per handle | Target | Met |", "|---|---:|---:|:-:|"]
    for how, key in (("Create + two SetValue", "built"), ("Create + LoadFromString", "loaded")):
        lines.append(f"| {how} | {small[key]:,} | ≤ {SMALL_DOCUMENT_TARGET} | "
                     f"{met(small[key], SMALL_DOCUMENT_TARGET)} |")
        if small[key] > SMALL_DOCUMENT_TARGET:
            misses.append(f"small document, {how}: {small[key]} bytes")
    lines += ["", "One handle used over and over; heap in use after the first round, the highest after any round,",
              "and after the last round:", "",
              "| Series | Rounds | First | Peak | Last |", "|---|---:|---:|---:|---:|"]
    titles = {"reload_canada": "LoadFromString of canada.json", "clear_and_refill_1000": "Clear, then 1,000 SetValue"}
    for key, title in titles.items():
        s = memory[key]
        lines.append(f"| {title} | {s['rounds']:,} | {s['first']:,} | {s['peak']:,} | {s['last']:,} |")

    dll_charts = {}
    for bits, dll in dlls.items():
        triple = "i686" if bits == 32 else "x86_64"
        lines += ["", f"## The {bits}-bit Windows DLL, under wine" + ("64" if bits == 64 else ""), ""]
        if dll is None:
            lines += [f"Not measured: the machine that made this report runs no {bits}-bit programs."]
            misses.append(f"{bits}-bit DLL: not measured")
            stale = f"{out_dir}/{dll_chart(bits)}"
            if os.path.exists(stale):
                os.remove(stale)  # an earlier run's chart would be read as this one's
            continue
        lines += [f"The same benchmarks cross-built with MinGW-w64 ({triple}) and run under wine by our own timing",
                  "driver (`orvjson_timing`: each benchmark prepared once and warmed, then every repetition times each",
                  "one once, in a new random order) " + context_line(dll) + ".", "",
                  f"![ratios of the {bits}-bit DLL]({dll_chart(bits)})", ""]
        dll_best, _ = minimum_times(dll)
        table, dll_charts[bits], dll_misses = ratio_table(dll_best)
        lines += table
        lines += ["", "Reading every member by key:", ""]
        table, dll_read_misses = read_all_table(dll_best)
        lines += table
        lines += ["", "Times without a floor:", ""]
        table, dll_absolute_misses = absolute_table(dll_best)
        lines += table
        misses += [f"{bits}-bit DLL: {m}" for m in dll_misses + dll_read_misses + dll_absolute_misses]

    lines += ["", "## Targets", ""]
    lines += ["Every target above is met." if not misses else "Missed: " + "; ".join(misses) + "."]
    lines += ["", "## Measuring notes", "",
              "- Where both sides run the same RapidJSON code, a ratio near 1.0 moves by several percent between",
              "  builds of that same code, with where the compiler and linker place the hot loops (PIE or not, -O2",
              "  or -O3). The floors are therefore built with the library's own flags, both sides are warmed by one",
              "  run before timing, and targets near 1.0 are read over several runs.",
              "- File benchmarks write to the temporary folder; their times include the disk and vary most.",
              "- Under wine, 32-bit times vary more than on Linux from run to run.", ""]

    with open(f"{out_dir}/README.md", "w") as f:
        f.write("\n".join(lines))
    with open(f"{out_dir}/ratios.svg", "w") as f:
        f.write(svg_chart(chart, "Linux x86-64: OrvJson time / RapidJSON floor time (lower is better)"))
    for bits, chart in dll_charts.items():
        with open(f"{out_dir}/{dll_chart(bits)}", "w") as f:
            f.write(svg_chart(chart, f"{bits}-bit DLL under wine: OrvJson time / floor time (lower is better)"))
    charts = ", ".join(["ratios.svg"] + [dll_chart(bits) for bits in dll_charts])
    print(f"bench_report: wrote {out_dir}/README.md and {charts}; "
          + ("every target met" if not misses else f"missed: {'; '.join(misses)}"))


if __name__ == "__main__":
    main()
