# What the module's tests share: lobeconv (the reference for every answer),
# the bundled samples, the test data and the shared real files.
import json
import os
import subprocess
from pathlib import Path

import pytest

SOURCE = Path(os.environ.get("LOBE_SOURCE", Path(__file__).resolve().parents[2]))
LOBECONV = str(Path(os.environ.get("LOBECONV", SOURCE / "build/src/cli/lobeconv")).resolve())
SAMPLES = SOURCE / "data/samples"
TEST_DATA = SOURCE / "tests/data"
REALDATA = SOURCE.parent / "shared/realdata"

# The pattern files of the test data, by the folders that hold them.
PATTERN_FOLDERS = ["nsma", "nsma89", "planet", "ant", "4nec", "convert"]


def pattern_files():
    files = sorted(SAMPLES.iterdir())
    for folder in PATTERN_FOLDERS:
        files += sorted(p for p in (TEST_DATA / folder).iterdir() if p.is_file())
    return files


def real_files():
    if not REALDATA.is_dir():
        return []
    return sorted(p for p in REALDATA.iterdir() if p.suffix in (".msi", ".adf"))


def lobeconv(*args, check=True):
    """lobeconv's exit status, standard output and standard error."""
    r = subprocess.run([LOBECONV, *map(str, args)], capture_output=True)
    if check and r.returncode not in (0, 1):
        raise AssertionError(f"lobeconv {' '.join(map(str, args))}: {r.stderr.decode()}")
    return r.returncode, r.stdout, r.stderr.decode("utf-8", "replace")


def lobeconv_json(*args):
    status, out, err = lobeconv(*args)
    assert out, err
    return json.loads(out)


@pytest.fixture
def tmp(tmp_path):
    return tmp_path
