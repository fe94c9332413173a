#!/usr/bin/env python3
"""Start-up benchmark: wifi-hotspot against a minimal program that writes the
same menu and reads one token, both ending at once on end of input.

    bench/startup.py [BUILD_DIR] [RUNS]     (defaults: build, 300)

Builds the minimal program with `c++ -std=c++17 -O2 -g` (the optimisation of
the tool's default RelWithDebInfo build), runs the two alternately RUNS times
each (stdin /dev/null, stdout a pipe), and prints the median ratio of their
wall times and both programs' heap allocation counts under valgrind. Targets: ratio at most 1.2; the tool allocates no more than
the minimal program.
"""
import platform
import re
import statistics
import subprocess
import sys
import tempfile
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent


def wall(cmd):
    start = time.perf_counter()
    subprocess.run(cmd, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, check=True)
    return time.perf_counter() - start


def allocations(cmd):
    log = subprocess.run(["valgrind", "--tool=memcheck", *cmd], stdin=subprocess.DEVNULL,
                         stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True, check=True).stderr
    m = re.search(r"total heap usage: ([\d,]+) allocs", log)
    return int(m.group(1).replace(",", ""))


def main():
    build = Path(sys.argv[1] if len(sys.argv) > 1 else ROOT / "build").resolve()
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 300
    tool = [str(build / "wifi-hotspot")]
    with tempfile.TemporaryDirectory() as tmp:
        minimal = [str(Path(tmp) / "minimal")]
        subprocess.run(["c++", "-std=c++17", "-O2", "-g", str(ROOT / "bench" / "minimal.cc"), "-o", minimal[0]],
                       check=True)
        for _ in range(10):  # warm the page cache
            wall(tool), wall(minimal)
        ratios, tool_times, minimal_times = [], [], []
        for _ in range(runs):
            t, m = wall(tool), wall(minimal)
            tool_times.append(t)
            minimal_times.append(m)
            ratios.append(t / m)
        tool_allocs, minimal_allocs = allocations(tool), allocations(minimal)

    print(f"machine: {platform.machine()}, {platform.platform()}, {platform.python_version()} driver")
    print(f"runs: {runs} each, alternating, end of input at the menu")
    print(f"median wall time: wifi-hotspot {statistics.median(tool_times) * 1e3:.3f} ms, "
          f"minimal {statistics.median(minimal_times) * 1e3:.3f} ms")
    ratio = statistics.median(ratios)
    print(f"median ratio wifi-hotspot / minimal: {ratio:.3f} (target <= 1.2)")
    print(f"heap allocations: wifi-hotspot {tool_allocs}, minimal {minimal_allocs} (target: no more)")
    return 0 if ratio <= 1.2 and tool_allocs <= minimal_allocs else 1


if __name__ == "__main__":
    sys.exit(main())
