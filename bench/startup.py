#!/usr/bin/env python3
"""Start-up benchmark: wifi-hotspot against a minimal program that writes the same menu and reads one token
(bench/minimal.cc, -O2 -g as the tool's default build), both ending on end of input; BUILD_DIR built with g++,
whose debug information valgrind reads.
    bench/startup.py [BUILD_DIR] [RUNS]     (defaults: build, 300)
Runs the two alternately RUNS times each and prints the median ratio of their wall times (target: at most 1.2)
and both programs' heap allocations under valgrind (target: the tool no more than the minimal program)."""
import re, statistics, subprocess, sys, tempfile, time
from pathlib import Path


def wall(command):
    start = time.perf_counter()
    subprocess.run(command, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, check=True)
    return time.perf_counter() - start


def allocations(command):
    log = subprocess.run(["valgrind", *command], stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                         stderr=subprocess.PIPE, text=True, check=True).stderr
    return int(re.search(r"total heap usage: ([\d,]+) allocs", log).group(1).replace(",", ""))


root = Path(__file__).resolve().parent.parent
tool = [str(Path(sys.argv[1] if len(sys.argv) > 1 else root / "build", "wifi-hotspot").resolve())]
runs = int(sys.argv[2]) if len(sys.argv) > 2 else 300
with tempfile.TemporaryDirectory() as folder:
    minimal = [f"{folder}/minimal"]
    subprocess.run(["c++", "-std=c++17", "-O2", "-g", root / "bench/minimal.cc", "-o", minimal[0]], check=True)
    pairs = [(wall(tool), wall(minimal)) for _ in range(runs + 10)][10:]  # the first ten warm the page cache
    ratio = statistics.median(t / m for t, m in pairs)
    tool_allocations, minimal_allocations = allocations(tool), allocations(minimal)
print(f"median wall time: wifi-hotspot {statistics.median(t for t, _ in pairs) * 1e3:.3f} ms, "
      f"minimal {statistics.median(m for _, m in pairs) * 1e3:.3f} ms; ratio {ratio:.3f} (target <= 1.2)")
print(f"heap allocations: wifi-hotspot {tool_allocations}, minimal {minimal_allocations} (target: no more)")
sys.exit(0 if ratio <= 1.2 and tool_allocations <= minimal_allocations else 1)
