#!/usr/bin/env python3
"""Times two commands side by side, one run of each in turn, so that a slow
moment of the machine falls on both; prints the median of each and their ratio.
  interleaved.py RUNS BUDGET WHAT NAME COMMAND FLOOR_NAME FLOOR_COMMAND
COMMAND and FLOOR_COMMAND are command lines split as a shell would (no shell
is started for them); their output is discarded."""
import shlex
import statistics
import subprocess
import sys
import time

runs, budget, what = int(sys.argv[1]), float(sys.argv[2]), sys.argv[3]
cases = [(sys.argv[4], sys.argv[5]), (sys.argv[6], sys.argv[7])]


def once(command):
    start = time.perf_counter()
    subprocess.run(shlex.split(command), check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return time.perf_counter() - start


for _ in range(max(3, runs // 10)):  # warm the caches
    for _, command in cases:
        once(command)
times = [[], []]
for _ in range(runs):
    for i, (_, command) in enumerate(cases):
        times[i].append(once(command))
ours, floor = (statistics.median(t) for t in times)
for (name, _), t in zip(cases, times):
    print(f"{name}: median {statistics.median(t) * 1000:.1f} ms "
          f"(min {min(t) * 1000:.1f}, max {max(t) * 1000:.1f}, {runs} runs)")
print(f"{what} {ours * 1000:.1f} ms, floor {floor * 1000:.1f} ms, ratio {ours / floor:.2f} (budget {budget:.2f})")
