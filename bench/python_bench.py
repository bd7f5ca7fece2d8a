"""The Python module against the command line on the same work, median of
three runs each, as ratios within this run: a bifurcation sweep, and a
trajectory of 10^7 steps (the command line writing its CSV to /dev/null).
    PYTHONPATH=build-test python3 bench/python_bench.py build-test/tresolva-batch"""
import statistics
import subprocess
import sys
import tempfile
import time

import numpy as np
import tresolva

BATCH = sys.argv[1]


def median_seconds(work):
    times = []
    for _ in range(3):
        began = time.perf_counter()
        work()
        times.append(time.perf_counter() - began)
    return statistics.median(times)


def row(what, python, command_line):
    print(f"{what:<46} {python:8.3f} s {command_line:8.3f} s   {python / command_line:5.2f}x")


with tempfile.NamedTemporaryFile("w", suffix=".toml") as f:
    f.write('attractor = "roessler"\nplayback = "static"\ntmin = 0.0\ntmax = 10000.0\ndt = 0.001\n')
    f.flush()
    s = tresolva.Settings.read(f.name)
    print(f"{'':<46} {'Python':>10} {'command':>10}   ratio")
    sweep = ["--param", "c", "--from", "2", "--to", "6", "--values", "4000"]
    row("bifurcation, 4000 values of c",
        median_seconds(lambda: tresolva.bifurcation(s, "c", np.linspace(2, 6, 4000))),
        median_seconds(lambda: subprocess.run([BATCH, "bifurcation", "-s", f.name, *sweep,
                                               "-o", "/dev/null"], check=True)))
    row("trajectory, 10^7 steps (array / CSV)",
        median_seconds(lambda: tresolva.trajectory(s)),
        median_seconds(lambda: subprocess.run([BATCH, "export", "-s", f.name, "-o", "/dev/null"],
                                              check=True)))
