# analyse, pattern3d, exposure, check and compare answer as the lobeconv
# commands do, to the number; their errors are lobeconv's messages.
import csv
import io
import json

import numpy as np
import pytest

import lobeview
from conftest import SAMPLES, SOURCE, TEST_DATA, lobeconv, lobeconv_json

ENVELOPES = SOURCE / "data/kwr_envelopes.csv"
SITE = SOURCE / "data/example_site.json"


@pytest.mark.parametrize("sample", ["panel.nsma", "yagi.nsma", "dipole.nsma", "panel.pla"])
def test_analyse_is_lobeconv_analyse_json(sample):
    path = SAMPLES / sample
    assert lobeview.analyse(lobeview.read(path)) == lobeconv_json("analyse", path, "--json")


@pytest.mark.parametrize("method, step", [("summing", 5), ("weighted", 10), ("hybrid", 2.5)])
def test_pattern3d_is_lobeconv_pattern3d(method, step, tmp):
    path = SAMPLES / "panel.nsma"
    lobeconv("pattern3d", path, tmp / "p.csv", "--method", method, "--step", step, "--freq", 1880)
    rows = list(csv.DictReader(io.StringIO((tmp / "p.csv").read_text())))
    azimuth, elevation, gain = lobeview.pattern3d(lobeview.read(path), method=method, step=step, freq=1880)
    assert gain.shape == (len(elevation), len(azimuth)) == (int(180 / step) + 1, int(360 / step))
    theirs = np.array([float(r["gain"]) for r in rows]).reshape(gain.shape)
    np.testing.assert_allclose(gain, theirs, atol=0.0005 + 1e-12)
    assert float(rows[1]["azimuth"]) == azimuth[1] and float(rows[-1]["elevation"]) == elevation[-1]
    assert gain.max() <= 0.0, "no direction above the peak"


def test_exposure_of_a_file_and_of_a_dict(tmp, monkeypatch):
    theirs = lobeconv_json("exposure", SITE, "--standard", "fcc-public", "--at", "3,4,1.5")
    assert lobeview.exposure(SITE, standard="fcc-public", at=(3, 4, 1.5)) == theirs
    # A dict names its patterns from the current folder.
    site = json.loads(SITE.read_text())
    monkeypatch.chdir(SITE.parent)
    assert lobeview.exposure(site, standard="fcc-public", at=(3, 4, 1.5)) == theirs
    site["antennas"][0]["power_w"] = -5
    _, _, err = lobeconv("exposure", _written(tmp, site), check=False)
    with pytest.raises(lobeview.Error) as e:
        lobeview.exposure(site)
    assert "power" in str(e.value) and "power" in err


def _written(tmp, site):
    path = tmp / "site.json"
    for a in site["antennas"]:
        a["pattern"] = str(SITE.parent / a["pattern"])
    path.write_text(json.dumps(site))
    return path


def test_check_is_lobeconv_check_json():
    for sample, title in [("yagi.nsma", "Class B wide"), ("panel.labz", None)]:
        path = SAMPLES / sample
        args = ["check", path, "--envelopes", ENVELOPES, "--json"] + (["--envelope", title] if title else [])
        status, out, _ = lobeconv(*args)
        ours = lobeview.check(lobeview.read(path), title, envelopes=ENVELOPES)
        assert ours == json.loads(out)
        assert ours["pass"] == (status == 0)
    with pytest.raises(lobeview.Error, match='no envelope titled "Nothing like it"'):
        lobeview.check(lobeview.read(SAMPLES / "yagi.nsma"), "Nothing like it", envelopes=ENVELOPES)
    with pytest.raises(lobeview.Error, match="needs a mask"):
        lobeview.check(lobeview.read(SAMPLES / "yagi.nsma"), envelopes=ENVELOPES)


@pytest.mark.parametrize("align, tolerance", [("none", 1.0), ("peak", 0.5)])
def test_compare_is_lobeconv_compare_json(align, tolerance):
    measured, reference = SAMPLES / "panel.labz", SAMPLES / "panel.pla"
    theirs = lobeconv_json("compare", measured, reference, "--align", align, "--tolerance", tolerance, "--json")
    ours = lobeview.compare(lobeview.read(measured), lobeview.read(reference), align=align, tolerance=tolerance)
    assert ours == theirs
    assert ours["unmatched_measured"], "the reference has fewer frequencies"
    # Both files hold the same computed panel: its matched cuts agree to the hundredth of a dB.
    assert [c["measured"] for c in ours["cuts"]] == ["1710 MHz H V/V", "1710 MHz V V/V"]
    assert all(c["pass"] and c["main_lobe"]["rms_db"] < 0.01 for c in ours["cuts"])


def test_bad_arguments_say_what_they_take():
    p = lobeview.read(SAMPLES / "panel.nsma")
    for call, says in [
        (lambda: lobeview.pattern3d(p, method="cubic"), "summing, weighted or hybrid"),
        (lambda: lobeview.pattern3d(p, step=7), "divide 180"),
        (lambda: lobeview.compare(p, p, align="left"), "peak or none"),
        (lambda: lobeview.compare(p, p, tolerance=-1), "tolerance takes a number of dB"),
        (lambda: lobeview.pattern3d(lobeview.read(TEST_DATA / "4nec/four_columns.txt")), "horizontal and a vertical"),
        (lambda: lobeview.exposure(TEST_DATA / "absent-site.json"), "absent-site.json"),
    ]:
        with pytest.raises(lobeview.Error, match=says):
            call()
    # lobeconv's message alone: neither its name nor its pointer to --help.
    with pytest.raises(lobeview.Error) as e:
        lobeview.exposure(SITE, standard="")
    assert str(e.value) == "--standard takes a value"

