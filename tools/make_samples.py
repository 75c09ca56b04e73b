#!/usr/bin/env python3
"""Writes the sample patterns in data/samples from analytic antenna models.

The samples are ours: computed here, never taken from anyone's files.
Run from the repository root:  python3 tools/make_samples.py
"""
import math
import os

OUT = os.path.join(os.path.dirname(__file__), "..", "data", "samples")
FLOOR_DB = 40.0  # deepest null written


def db_down(v, vmax):
    if v <= 0.0:
        return FLOOR_DB
    return min(FLOOR_DB, max(0.0, -20.0 * math.log10(v / vmax)))


def dipole_elevation(e_deg):
    """Half-wave vertical dipole, field strength at elevation e (0 = horizon)."""
    e = math.radians(e_deg)
    c = math.cos(e)
    if abs(c) < 1e-9:
        return 0.0
    return abs(math.cos(math.pi / 2.0 * math.sin(e)) / c)


def nsma_lines(header, freqs):
    lines = ["REVNUM:,NSMA  WG16.99.050", "REVDAT:,19990520"]
    for tag, value in header:
        lines.append(f"{tag}:,{value}")
    lines.append(f"NOFREQ:,{len(freqs)}")
    for patfre, cuts in freqs:
        lines.append(f"PATFRE:,{patfre}")
        lines.append(f"NUMCUT:,{len(cuts)}")
        for patcut, polari, points in cuts:
            lines += [f"PATCUT:,{patcut}", f"POLARI:,{polari}", f"NUPOIN:,{len(points)}",
                      f"FSTLST:,{points[0][0]:.3f},{points[-1][0]:.3f}"]
            lines += [f"{a:.3f},-{s:.3f}," for a, s in points]
    lines.append("ENDFIL:,EOF")
    return "".join(line + "\r\n" for line in lines)


def dipole():
    angles = range(-180, 180)
    values = [dipole_elevation(a) for a in angles]
    vmax = max(values)
    vcut = [(float(a), db_down(v, vmax)) for a, v in zip(angles, values)]
    hcut = [(float(a), 0.0) for a in angles]
    header = [("COMNT1", "Half-wave vertical dipole, free space (computed)"),
              ("ANTMAN", "Lobeview samples"), ("MODNUM", "DIPOLE-450"),
              ("DESCR1", "Analytic model cos(pi/2 sin e)/cos e"),
              ("LOWFRQ", "440"), ("HGHFRQ", "470"), ("GUNITS", "DBD/DBD"),
              ("MDGAIN", "0.0"), ("AZWIDT", "360"), ("ELWIDT", "78"), ("PATTYP", "typical")]
    return nsma_lines(header, [("450", [("H", "V/V", hcut), ("V", "V/V", vcut)])])


def main():
    os.makedirs(OUT, exist_ok=True)
    with open(os.path.join(OUT, "dipole.nsma"), "w", newline="") as f:
        f.write(dipole())


if __name__ == "__main__":
    main()
