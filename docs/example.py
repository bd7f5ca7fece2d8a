"""Roessler's road to chaos along c (a = b = 0.2): the bifurcation diagram
over the largest Lyapunov exponent.   python3 docs/example.py [OUT.png]"""
import sys

import matplotlib
import numpy as np
import tresolva

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402 (after the backend is chosen)

s = tresolva.Settings.read(__file__.replace("example.py", "roessler.toml"))
c = np.linspace(2.5, 6, 700)
maxima = tresolva.bifurcation(s, "c", c, transient=300, time=800)
exponents = tresolva.lyapunov_sweep(s, "c", c[::5], transient=100, time=2000)

figure, (top, bottom) = plt.subplots(2, 1, sharex=True, figsize=(8, 6))
top.plot(maxima[:, 0], maxima[:, 1], ",k")
top.set_ylabel("max x")
bottom.plot(exponents[:, 0], exponents[:, 1], "-k", lw=0.8)
bottom.axhline(0, ls="--", c="grey", lw=0.6)
bottom.set(xlabel="c", ylabel="lambda1")
figure.savefig(sys.argv[1] if len(sys.argv) > 1 else "example.png", dpi=100)
