"""Plots every cut of a pattern file's first frequency, in dB, into a PNG.

    python3 plot_cuts.py PATTERN OUT.png

Published MSI/Planet files often end their lines with LF alone, hold cuts of
more than 360 points and give levels as gains: the three reading options
below take them as lobeconv --lf --resample --signed-levels does.
"""
import sys

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt
import numpy as np

import lobeview

pattern = lobeview.read(sys.argv[1], lf=True, resample=True, signed_levels=True)
first = pattern.frequencies[0]
fig, ax = plt.subplots(figsize=(7, 3.6), dpi=100)
for cut in first.cuts:
    # Angles 0..359 drawn as -180..180, levels as gains below the peak.
    angles = np.where(cut.angles > 180, cut.angles - 360, cut.angles)
    order = np.argsort(angles)
    ax.plot(angles[order], -cut.levels[order], label=f"{cut.kind} {cut.polarisation}")
ax.set(xlim=(-180, 180), ylim=(-40, 1), xticks=range(-180, 181, 30), xlabel="degrees", ylabel="dB")
ax.set_title(f"{pattern.header['name']} at {first.frequency} MHz")
ax.grid(True, alpha=0.4)
ax.legend()
fig.tight_layout()
fig.savefig(sys.argv[2])
