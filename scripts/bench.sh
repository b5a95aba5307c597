#!/usr/bin/env bash
# Builds and runs the benchmarks, then prints each figure beside what is required of it.
#
#   scripts/bench.sh [extra Google Benchmark options, e.g. --benchmark_filter=card]
#
# The benchmarks run on a private X server (tests/tools/with-desktop.sh), so that showing a window costs what it
# costs on a desktop. Every figure is the median of 5 repetitions; the machine's load is printed with the table,
# since other work on the machine slows everything. The idle figures come from scripts/measure-idle.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
[ -d build ] || scripts/build.sh
cmake --build build --target VantrelBench SoundProbe QtBaseline >/dev/null
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg); $(nproc) cores"
mkdir -m 700 "$out/runtime"
run_bench() { # name, filter, extra options
    local name=$1 filter=$2
    shift 2
    tests/tools/with-desktop.sh env -u QT_LINUX_ACCESSIBILITY_ALWAYS_ON HOME="$out" XDG_RUNTIME_DIR="$out/runtime" \
        build/bench/VantrelBench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
        --benchmark_filter="$filter" --benchmark_out="$out/$name.json" --benchmark_out_format=json "$@" \
        >"$out/$name.txt" 2>&1 || { cat "$out/$name.txt" >&2; exit 1; }
}
# The engine in a process of its own, so that its resident memory is its own.
run_bench engine '^engineTick' "$@"
run_bench rest '^(card|parse)' "$@"
for sound in clocker.wav 致爱丽丝.mid; do
    tests/tools/with-desktop.sh env -u QT_LINUX_ACCESSIBILITY_ALWAYS_ON HOME="$out" XDG_RUNTIME_DIR="$out/runtime" \
        build/bench/SoundProbe "build/Vantrel/sound/$sound" 3 >"$out/sound-$sound.txt" 2>&1 || true
done
echo "load average after:  $(cut -d' ' -f1-3 /proc/loadavg)"

python3 - "$out" <<'PY'
import json, re, sys
out = sys.argv[1]
runs = {}
for name in ("engine", "rest"):
    for b in json.load(open(f"{out}/{name}.json"))["benchmarks"]:
        if b.get("aggregate_name") == "median":
            runs[b["run_name"]] = b

def ms(name, kind):
    b = runs.get(name)
    if not b:
        return None
    value = b[kind]
    return value / 1e6 if b["time_unit"] == "ns" else value / 1e3 if b["time_unit"] == "us" else value

rows = [
    ("Engine tick CPU, 1,000 reminders", ms("engineTick/1000", "cpu_time"), "ms", None),
    ("Engine tick CPU, 10,000 reminders", ms("engineTick/10000", "cpu_time"), "ms", 5),
    ("Engine tick CPU, 100,000 reminders", ms("engineTick/100000", "cpu_time"), "ms", 50),
    ("  RSS after ticking 100,000", runs.get("engineTick/100000", {}).get("rss_mb"), "MB", 60),
    ("Card tree build CPU, 10,000 cards", ms("cardTreeBuild/10000", "cpu_time"), "ms", None),
    ("Card tree build CPU, 100,000 cards", ms("cardTreeBuild/100000", "cpu_time"), "ms", None),
    ("Card manager show -> drawn, 10,000 cards", ms("cardManagerShow/10000/manual_time", "real_time"), "ms", 40),
    ("Card manager show -> drawn, 100,000 cards", ms("cardManagerShow/100000/manual_time", "real_time"), "ms", 150),
    ("  first showing after start, 10,000 cards", ms("cardManagerFirstShow/10000/manual_time", "real_time"), "ms", 40),
    ("  first showing after start, 100,000 cards", ms("cardManagerFirstShow/100000/manual_time", "real_time"), "ms", 150),
    ("All-matching card search CPU, 10,000 cards", ms("cardSearchAllMatching/10000", "cpu_time"), "ms", None),
    ("All-matching card search CPU, 100,000 cards", ms("cardSearchAllMatching/100000", "cpu_time"), "ms", 80),
    ("Parsing a 1 MB information file CPU", ms("parseInfoFile", "cpu_time"), "ms", None),
]
for sound, limit in (("clocker.wav", 4), ("致爱丽丝.mid", None)):
    try:
        text = open(f"{out}/sound-{sound}.txt").read()
        m = re.search(r"added\s+pss ([-+\d.]+) MB\s+private ([-+\d.]+) MB\s+anon ([-+\d.]+) MB\s+threads ([-+\d]+)", text)
        rows.append((f"First sound ({sound}): added PSS", float(m.group(1)), "MB", limit))
        rows.append((f"  added private memory", float(m.group(2)), "MB", None))
        rows.append((f"  added threads", int(m.group(4)), "", None))
    except (OSError, AttributeError):
        rows.append((f"First sound ({sound})", None, "", limit))

print(f"{'Figure':<46} {'Measured':>12} {'Required':>10}  ")
for name, value, unit, limit in rows:
    shown = "n/a" if value is None else (f"{value:.1f} {unit}" if isinstance(value, float) else f"{value} {unit}")
    required = "-" if limit is None else f"<= {limit} {unit}"
    verdict = "" if limit is None or value is None else ("ok" if value <= limit else "OVER")
    print(f"{name:<46} {shown:>12} {required:>10}  {verdict}")
print("Idle CPU, wake-ups, launch -> mapped and memory at start: scripts/measure-idle.sh")
PY
