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


def yagi_field(theta_deg, plane, spacing_wl):
    """3-element Yagi along the boom (0 degrees), horizontal elements.

    plane "H": the horizontal cut (the elements' E-plane, with the dipole
    factor); plane "V": the vertical cut (H-plane, array factor only).
    Reflector, driven element and director carry a progressive phase a little
    beyond ordinary end-fire, which is what gives a Yagi its forward gain.
    """
    t = math.radians(theta_deg)
    kd = 2.0 * math.pi * spacing_wl
    beta = -(kd + math.pi / 4.0)
    currents = [0.85, 1.0, 0.8]
    re = im = 0.0
    for n, amp in enumerate(currents):
        psi = n * (kd * math.cos(t) + beta)
        re += amp * math.cos(psi)
        im += amp * math.sin(psi)
    af = math.hypot(re, im)
    if plane == "H":
        c = math.sin(t)  # angle from the element axis is 90 - theta
        elem = 0.0 if abs(c) > 0.999999 else abs(math.cos(math.pi / 2.0 * c) / math.sqrt(1.0 - c * c))
        return af * elem
    return af


def yagi():
    freqs = []
    for patfre, scale in (("146", 1.0), ("148", 148.0 / 146.0)):
        spacing = 0.2 * scale
        cuts = []
        for plane in ("H", "V"):
            values = [yagi_field(a, plane, spacing) for a in range(360)]
            vmax = max(values)
            cuts.append((plane, "H/H", [(float(a), db_down(v, vmax)) for a, v in enumerate(values)]))
        freqs.append((patfre, cuts))
    header = [("COMNT1", "3-element Yagi, free space (computed)"), ("ANTMAN", "Lobeview samples"),
              ("MODNUM", "YAGI-3-146"), ("DESCR1", "Reflector, driven element, director; 0.2 wavelength spacing"),
              ("DESCR2", "Horizontal polarisation; boom towards 0 degrees"),
              ("LOWFRQ", "144"), ("HGHFRQ", "148"), ("GUNITS", "DBD/DBD"), ("MDGAIN", "5.2"),
              ("AZWIDT", "66"), ("ELWIDT", "110"), ("FRTOBA", "14"), ("PATTYP", "typical")]
    return nsma_lines(header, freqs)


def main():
    os.makedirs(OUT, exist_ok=True)
    with open(os.path.join(OUT, "dipole.nsma"), "w", newline="") as f:
        f.write(dipole())
    with open(os.path.join(OUT, "yagi.nsma"), "w", newline="") as f:
        f.write(yagi())


if __name__ == "__main__":
    main()
