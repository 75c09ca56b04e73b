# Reading gives what lobeconv dump gives; writing gives lobeconv convert's
# bytes; a pattern built from arrays writes what it was given; the
# refusals and errors are lobeconv's.
import numpy as np
import pytest

import lobeview
from conftest import SAMPLES, lobeconv, lobeconv_json, pattern_files, real_files

# The reading options of a published file: LF line ends, long cuts
# resampled, levels as gains.
PUBLISHED = dict(lf=True, resample=True, signed_levels=True)


def assert_same_as_dump(pattern, dump):
    assert pattern.header == dump["header"]
    assert pattern.notices == dump["load_notices"]
    assert len(pattern.frequencies) == len(dump["freq"])
    for fr, dfr in zip(pattern.frequencies, dump["freq"]):
        assert fr.frequency == dfr["patfre"]
        assert len(fr.cuts) == len(dfr["cut"])
        for cut, dcut in zip(fr.cuts, dfr["cut"]):
            assert (cut.kind, cut.polarisation) == (dcut["patcut"], dcut["polari"])
            # The dump writes each float as its shortest decimal: read back as float32 they are the same.
            np.testing.assert_array_equal(cut.angles.astype(np.float32), np.array(dcut["angle"], dtype=np.float32))
            np.testing.assert_array_equal(cut.levels.astype(np.float32), np.array(dcut["signal"], dtype=np.float32))


@pytest.mark.parametrize("path", pattern_files(), ids=lambda p: f"{p.parent.name}/{p.name}")
def test_every_sample_and_test_file_reads_as_lobeconv_dumps_it(path):
    assert_same_as_dump(lobeview.read(path), lobeconv_json("dump", path))


@pytest.mark.parametrize("path", real_files(), ids=lambda p: p.name)
def test_published_files_read_as_lobeconv_dumps_them(path):
    dump = lobeconv_json("dump", path, "--lf", "--resample", "--signed-levels")
    pattern = lobeview.read(str(path), **PUBLISHED)
    assert_same_as_dump(pattern, dump)
    assert pattern.frequencies[0].cuts[0].levels.min() >= 0.0, "dB below the peak"


def test_the_reading_options_are_lobeconvs():
    lf_only = SAMPLES.parent.parent / "README.md"
    assert lobeview.read(lf_only).notices[0].startswith("This file ends its lines with LF alone")
    nec = SAMPLES / "panel-vertical-4nec.txt"
    assert_same_as_dump(lobeview.read(nec, nec_columns=(1, 3)), lobeconv_json("dump", nec, "--nec-columns", "1,3"))


def test_what_was_read_cannot_be_changed_behind_the_writers_back(tmp):
    pattern = lobeview.read(SAMPLES / "panel.nsma")
    cut = pattern.frequencies[0].cuts[0]
    assert cut.levels.dtype == np.float64
    with pytest.raises(ValueError):
        cut.levels[0] = 3.0
    pattern.header["name"] = "CHANGED"
    assert pattern.header["name"] == "PANEL-65-18", "the header is handed out as a copy"
    assert isinstance(pattern.frequencies, tuple) and isinstance(pattern.frequencies[0].cuts, tuple)


WRITTEN = ["nsma", "labz", "pla", "ant", "adf"]


@pytest.mark.parametrize("sample", ["panel.nsma", "panel.labz", "yagi.nsma", "panel.pla", "panel.ant"])
def test_writing_gives_lobeconv_converts_bytes(sample, tmp):
    source = SAMPLES / sample
    pattern = lobeview.read(source)
    for ext in WRITTEN:
        ours, theirs = tmp / f"ours.{ext}", tmp / f"theirs.{ext}"
        pattern.write(str(ours))
        status, _, _ = lobeconv("convert", source, theirs)
        assert status == 0
        assert ours.read_bytes() == theirs.read_bytes(), ext
    pattern.write(tmp / "v2.ant", ant_version=2)
    lobeconv("convert", source, tmp / "theirs-v2.ant", "--ant-version", "2")
    assert (tmp / "v2.ant").read_bytes() == (tmp / "theirs-v2.ant").read_bytes()
    assert lobeview.read(source).header == pattern.header, "writing leaves the pattern as read"


def test_a_pattern_built_from_arrays_writes_what_it_was_given(tmp):
    angles = np.arange(0.0, 360.0, 2.0)
    levels = 20.0 * (1.0 - np.cos(np.radians(angles))) / 2.0
    built = lobeview.Pattern.from_cuts(
        [("900", [("H", "V/V", angles, levels), {"kind": "V", "polarisation": "V/V", "angles": angles, "levels": levels}])],
        header={"name": "COMPUTED-1", "make": "a script"},
    )
    built.write(tmp / "built.nsma")
    back = lobeview.read(tmp / "built.nsma")
    assert back.header["name"] == "COMPUTED-1" and back.header["make"] == "a script"
    assert [c.kind for c in back.frequencies[0].cuts] == ["H", "V"]
    np.testing.assert_allclose(back.frequencies[0].cuts[1].levels, levels, atol=5e-4)
    # A read pattern's cuts can be taken over as they are.
    again = lobeview.Pattern.from_cuts([(f.frequency, f.cuts) for f in back.frequencies], back.header)
    again.write(tmp / "again.nsma")
    assert (tmp / "again.nsma").read_bytes() == (tmp / "built.nsma").read_bytes()


@pytest.mark.parametrize(
    "frequencies, header, says",
    [
        ([("900", [("H", "V/V", [0, 1], [0])])], {}, "2 angles but 1 levels"),
        ([("900", [("H", "V/V", [0, float("nan")], [0, 1])])], {}, "is not a number"),
        ([("900", [("H", "V/V", list(range(40000)), [0] * 40000)])], {}, "points"),
        ([], {"colour": "red"}, 'no header field named "colour"'),
        ([("9" * 300, [])], {}, "takes at most"),
        ([("900", [("H", "V/V", [0], [0])] * 9)], {}, "more than 8 cuts"),
        ([("900", [])] * 13, {}, "more than 12 frequencies"),
    ],
)
def test_a_pattern_that_cannot_be_built_says_why(frequencies, header, says):
    with pytest.raises(lobeview.Error, match=says):
        lobeview.Pattern.from_cuts(frequencies, header)


def test_a_built_patterns_texts_fill_their_fields_and_its_first_and_last_angles_are_its_points(tmp):
    # The longest name that fits is taken whole, one more character is refused with the field's size.
    fits = None
    for n in range(1, 400):
        try:
            lobeview.Pattern.from_cuts([], {"name": "N" * n})
            fits = n
        except lobeview.Error as e:
            assert str(e) == f'header field name takes at most {fits} characters: "{"N" * n}"'
            break
    assert fits and lobeview.Pattern.from_cuts([], {"name": "N" * fits}).header["name"] == "N" * fits
    angles = np.arange(-180.0, 180.0, 2.0)
    lobeview.Pattern.from_cuts([("900", [("H", "V/V", angles, np.zeros_like(angles))])]).write(tmp / "b.nsma")
    assert b"FSTLST:,-180.000,178.000\r\n" in (tmp / "b.nsma").read_bytes()


def test_refusals_and_failures_are_lobeconvs(tmp):
    source = tmp / "panel.nsma"
    source.write_bytes((SAMPLES / "panel.nsma").read_bytes())
    pattern = lobeview.read(source)
    with pytest.raises(lobeview.Error, match="it is the same file as the input"):
        pattern.write(source)
    with pytest.raises(lobeview.Error, match="not pictures"):
        pattern.write(tmp / "chart.png")
    with pytest.raises(lobeview.FileError) as missing_folder:
        pattern.write(tmp / "no" / "such" / "out.nsma")
    assert str(missing_folder.value).startswith("cannot write ")
    assert missing_folder.value.filename == str(tmp / "no" / "such" / "out.nsma")
    assert missing_folder.value.errno is None, "the save reports the system's words, not its number"
    # Nothing to write: refused, and what was there is kept.
    kept = tmp / "kept.nsma"
    kept.write_bytes(b"old")
    with pytest.raises(lobeview.Error, match="Nothing to save"):
        lobeview.Pattern.from_cuts([]).write(kept)
    assert kept.read_bytes() == b"old"
    # Reading: an OSError with errno for what cannot be opened, lobeconv's words.
    with pytest.raises(lobeview.FileError) as gone:
        lobeview.read(tmp / "absent.nsma")
    assert isinstance(gone.value, OSError) and gone.value.errno == 2
    _, _, err = lobeconv("dump", tmp / "absent.nsma", check=False)
    assert err.strip() == "lobeconv: " + str(gone.value)
    with pytest.raises(OSError, match="it is a folder"):
        lobeview.read(tmp)
