"""Prints the ratios and limits the run time's benchmarks are held to.

Reads the JSON files written with --benchmark_out and uses each benchmark's
median CPU time when repetitions were run, its single result otherwise.
Exits 1 when a target is missed; benchmarks left out by a filter are skipped.
"""

import json
import sys

# (what, benchmark, baseline benchmark, highest ratio allowed or None)
RATIOS = [
    ("cached send / std::function", "BM_CachedSend", "BM_StdFunctionCall", 2.0),
    ("cached send / virtual call", "BM_CachedSend", "BM_VirtualCall", None),
    ("send after a hook / cached send", "BM_SendAfterHook/inherited:0", "BM_CachedSend", None),
    ("send after an inherited hook / cached send", "BM_SendAfterHook/inherited:1", "BM_CachedSend", None),
    ("banner build and layout / plain view tree", "BM_BannerBuildAndLayout", "BM_PlainViewTreeBaseline", None),
    ("drag step / bare solver drag step", "BM_DragStep", "BM_SolverDragStepBaseline", None),
    ("label measured again / first time", "BM_LabelMeasureRepeated", "BM_LabelMeasureFirst", 0.1),
    ("banner frame / full-screen fill", "BM_RenderBannerFrame", "BM_RenderBaselineFullFill", None),
    ("arrival with Brix / without", "BM_ArrivalToBanner", "BM_ArrivalWithoutBrixBaseline", None),
    ("FolderFinder / plain listing", "BM_FolderFinder500Containers", "BM_FolderFinderBaseline", None),
    ("WhatsApp scan / plain enumeration", "BM_WhatsAppScan2000Files", "BM_WhatsAppScanBaseline", None),
    ("Messages provider / plain card walk", "BM_MessagesProvider10000Cards", "BM_MessagesBaseline", None),
    ("Slack lookup / plain query", "BM_SlackLookup10000Rows", "BM_SlackBaseline", None),
    ("burst of 1,000 notifications / of 100", "BM_Burst/1000/iterations:1", "BM_Burst/100/iterations:1", 12.0),
    ("banner layout beside 50 banners / alone", "BM_BannerLayout/others:50", "BM_BannerLayout/others:0", 1.5),
    ("hit testing / plain frame loop", "BM_HitTest10000Points", "BM_HitTestFrameLoopBaseline", None),
    ("studio whole frame / JPEG of a screen", "BM_StudioWholeFrame", "BM_StudioJpegBaseline", None),
    ("studio animating frame / JPEG of a screen", "BM_StudioAnimatingFrame", "BM_StudioJpegBaseline", None),
]
# (what, benchmark, highest time allowed in ns)
LIMITS = [
    ("associated get", "BM_AssociatedGet/values:1", 5.0),
    ("associated get, 8 values", "BM_AssociatedGet/values:8", 5.0),
    ("associated set (retain)", "BM_AssociatedSet/values:1/retain:1", 15.0),
    ("associated set (assign)", "BM_AssociatedSet/values:1/retain:0", 15.0),
    ("associated set (retain), 8 values", "BM_AssociatedSet/values:8/retain:1", 15.0),
    ("banner construction, layout and measurement", "BM_BannerBuildAndLayout", 1e6),
    ("FolderFinder, 500 containers", "BM_FolderFinder500Containers", 5e6),
    ("WhatsApp scan, 2,000 files", "BM_WhatsAppScan2000Files", 5e6),
    ("Messages provider, 10,000 cards", "BM_MessagesProvider10000Cards", 1e7),
    ("Slack lookup, 10,000 rows", "BM_SlackLookup10000Rows", 5e6),
    ("drag step: new top, solve, frames", "BM_DragStep", 5e3),
    ("one full-screen banner frame", "BM_RenderBannerFrame", 4e6),
    ("burst of 1,000 notifications (2 ms each)", "BM_Burst/1000/iterations:1", 2e9),
    ("arrival to banner on screen", "BM_ArrivalToBanner", 1.5e6),
    ("hit testing 10,000 points", "BM_HitTest10000Points", 50e6),
    ("studio frame while a banner animates", "BM_StudioAnimatingFrame", 10e6),
    ("10,000 life cycles", "BM_TenThousandLifeCycles/iterations:1/repeats:1", 30e9),
]
# (what, benchmark, counter, test on the counters) for figures that are not times
COUNTERS = [
    ("live objects after 10,000 life cycles <= before", "BM_TenThousandLifeCycles/iterations:1/repeats:1",
     lambda c: c["objectsAfter"] <= c["objectsBefore"]),
    ("resident memory growth over 10,000 life cycles <= 5 %", "BM_TenThousandLifeCycles/iterations:1/repeats:1",
     lambda c: c["rssGrowth"] <= 0.05),
]
NANOSECONDS = {"ns": 1.0, "us": 1e3, "ms": 1e6, "s": 1e9}


def load(paths):
    medians, singles, counters = {}, {}, {}
    for path in paths:
        with open(path) as file:
            for run in json.load(file)["benchmarks"]:
                if run.get("error_occurred"):
                    continue
                name = run.get("run_name", run["name"])
                time = run["cpu_time"] * NANOSECONDS[run["time_unit"]]
                if run.get("run_type") == "aggregate":
                    if run.get("aggregate_name") == "median":
                        medians[name] = time
                else:
                    singles[name] = time
                    counters[name] = run
    return {**singles, **medians}, counters


def verdict(value, limit):
    if limit is None:
        return ""
    return f"  (target <= {limit:g}: {'ok' if value <= limit else 'MISSED'})"


def main(paths):
    times, counters = load(paths)
    missed = False
    for what, name, baseline, limit in RATIOS:
        if name in times and baseline in times:
            ratio = times[name] / times[baseline]
            print(f"{what:45} {ratio:6.2f}x{verdict(ratio, limit)}")
            missed |= limit is not None and ratio > limit
    for what, name, limit in LIMITS:
        if name in times:
            print(f"{what:45} {times[name]:6.2f} ns{verdict(times[name], limit)}")
            missed |= times[name] > limit
    for what, name, holds in COUNTERS:
        if name in counters:
            ok = holds(counters[name])
            print(f"{what:45} {'ok' if ok else 'MISSED'}")
            missed |= not ok
    return 1 if missed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
