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


def panel_field(theta_deg, plane, freq_mhz, tilt_deg):
    """65-degree sector panel: a cos^n horizontal pattern with a modest back
    lobe, and a vertical aperture of 8 elements phased for electrical
    downtilt (angles below the horizon are positive, as on the charts)."""
    t = math.radians(theta_deg)
    if plane == "H":
        n = math.log(0.5) / math.log(math.cos(math.radians(32.5)) ** 2)
        front = max(0.0, math.cos(t)) ** (2 * n) if abs(theta_deg) < 90 or abs(theta_deg) > 270 else 0.0
        return math.sqrt(front * 0.99 + 0.01 * (0.5 + 0.5 * math.cos(t)) ** 2 + 1e-4)
    k_d = 2.0 * math.pi * 0.8 * freq_mhz / 1800.0  # 0.8 wavelength spacing at 1800 MHz
    beta = k_d * math.sin(math.radians(tilt_deg))
    re = im = 0.0
    for i in range(8):
        psi = i * (k_d * math.sin(t) - beta)
        re += math.cos(psi)
        im += math.sin(psi)
    element = max(0.05, abs(math.cos(t)) ** 1.5) if math.cos(t) > 0 else 0.05
    return math.hypot(re, im) / 8.0 * element


def panel():
    freqs = []
    for patfre in ("1710", "1800", "1880"):
        f = float(patfre)
        cuts = []
        for plane in ("H", "V"):
            values = [panel_field(a, plane, f, 6.0) for a in range(360)]
            vmax = max(values)
            cuts.append((plane, "V/V", [(float(a), db_down(v, vmax)) for a, v in enumerate(values)]))
        freqs.append((patfre, cuts))
    header = [("COMNT1", "65 degree sector panel, 6 degrees electrical downtilt (computed)"),
              ("ANTMAN", "Lobeview samples"), ("MODNUM", "PANEL-65-18"),
              ("DESCR1", "8 dipoles in a column over a reflector, 0.8 wavelength apart"),
              ("DESCR2", "Vertical cut: positive angles below the horizon"),
              ("LOWFRQ", "1710"), ("HGHFRQ", "1880"), ("GUNITS", "DBI/DBI"), ("MDGAIN", "17.5"),
              ("AZWIDT", "65"), ("ELWIDT", "7"), ("FRTOBA", "25"), ("ELTILT", "6"), ("PATTYP", "typical")]
    return header, freqs


def planet_text(header, freqs):
    fields = dict(header)
    patfre, cuts = freqs[0]
    lines = [f"NAME {fields.get('MODNUM', '')}", f"MAKE {fields.get('ANTMAN', '')}", f"FREQUENCY {patfre}",
             f"H_WIDTH {fields.get('AZWIDT', '')}", f"V_WIDTH {fields.get('ELWIDT', '')}",
             f"FRONT_TO_BACK {fields.get('FRTOBA', '')}", f"GAIN {fields.get('MDGAIN', '')}",
             f"TILT {fields.get('ELTILT', '')}", f"POLARIZATION {cuts[0][1]}", f"COMMENT {fields.get('COMNT1', '')}"]
    for patcut, _, points in cuts:
        lines.append(("HORIZONTAL" if patcut == "H" else "VERTICAL") + f" {len(points)}")
        lines += [f"{a:.3f} {s:.3f}" for a, s in points]
    return "".join(line + "\r\n" for line in lines)


def ant_text(freqs):
    _, cuts = freqs[0]
    h = [s for _, s in cuts[0][2]]
    v = [s for _, s in cuts[1][2]]
    values = h + v[270:360] + v[0:270]
    return "".join(f"-{s:.3f}\r\n" for s in values)


def nsma89_text(header, freqs):
    fields = dict(header)
    patfre, cuts = freqs[0]
    lines = [fields.get("ANTMAN", ""), fields.get("MODNUM", ""), fields.get("COMNT1", ""), "S-001", "NONE",
             "20261205", "NONE", f"{fields.get('LOWFRQ', patfre)} to {fields.get('HGHFRQ', patfre)} MHz",
             fields.get("MDGAIN", ""), fields.get("AZWIDT", "")]
    for patcut, polari, points in cuts:
        code = ("" if patcut == "H" else "EL") + polari.replace("/", "")
        lines.append(f"{code} {len(points)}")
        lines += [f"{a:.1f} -{s:.2f}" for a, s in points]
    return "".join(line + "\r\n" for line in lines)


def nec_text(freqs):
    _, cuts = freqs[0]
    lines = ["   Theta     Gain(dB)"]
    rows = sorted(((a if a <= 180 else a - 360), s) for a, s in cuts[1][2])
    for angle, s in rows:
        lines.append(f"{angle:8.1f}  {-s:10.3f}")
    return "".join(line + "\r\n" for line in lines)


def main():
    os.makedirs(OUT, exist_ok=True)
    with open(os.path.join(OUT, "dipole.nsma"), "w", newline="") as f:
        f.write(dipole())
    with open(os.path.join(OUT, "yagi.nsma"), "w", newline="") as f:
        f.write(yagi())
    header, freqs = panel()
    files = {
        "panel.nsma": nsma_lines(header, freqs),
        "panel.adf": nsma_lines(header, freqs),
        "panel.pla": planet_text(header, freqs),
        "panel.ant": ant_text(freqs),
        "panel-older-layout.nsma": nsma89_text(header, freqs),
        "panel-vertical-4nec.txt": nec_text(freqs),
    }
    # LABZ carries each cut's peak level (mV) and the envelope to show.
    labz = nsma_lines(header, freqs).replace("PATTYP:,", "KWRENV:,Class B wide\r\nPATTYP:,", 1)
    labz = labz.replace("FSTLST:,0.000,359.000", "FSTLST:,0.000,359.000,812.500")
    files["panel.labz"] = labz
    for name, text in files.items():
        with open(os.path.join(OUT, name), "w", newline="") as f:
            f.write(text)


if __name__ == "__main__":
    main()
