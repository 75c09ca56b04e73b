# Reading from many threads gives what a loop gives, and no file, however
# broken, does more than raise lobeview.Error: the readers' test files,
# cut, spliced and flipped at random (a fixed seed), as the fuzzers do.
import random
from concurrent.futures import ThreadPoolExecutor

import numpy as np

import lobeview
from conftest import TEST_DATA, pattern_files


def summary(pattern):
    return (
        pattern.header,
        pattern.notices,
        [(f.frequency, [(c.kind, c.polarisation, c.angles.tobytes(), c.levels.tobytes()) for c in f.cuts])
         for f in pattern.frequencies],
    )


def test_a_pool_of_four_reads_a_library_as_a_loop_does():
    files = [str(p) for p in pattern_files()]
    library = [files[i % len(files)] for i in range(1000)]
    by_loop = [summary(lobeview.read(p)) for p in library]
    with ThreadPoolExecutor(max_workers=4) as pool:
        by_pool = list(pool.map(lambda p: summary(lobeview.read(p)), library))
    assert by_pool == by_loop


def mutants(data, rng):
    yield data[: rng.randrange(len(data) + 1)]
    flipped = bytearray(data)
    for _ in range(8):
        if flipped:
            flipped[rng.randrange(len(flipped))] = rng.randrange(256)
    yield bytes(flipped)
    cut = rng.randrange(len(data) + 1)
    yield data[:cut] + data[cut:][::-1]
    yield data + data
    yield data.replace(b",", b"\x00,") if data else b"\xff"


def test_no_broken_file_does_more_than_raise_an_error(tmp_path):
    rng = random.Random(20261207)
    corpus = pattern_files() + sorted(p for p in (TEST_DATA / "fuzz").rglob("*") if p.is_file())
    read = errors = 0
    for source in corpus:
        for i, data in enumerate(mutants(source.read_bytes(), rng)):
            path = tmp_path / f"m{i}{source.suffix}"
            path.write_bytes(data)
            try:
                p = lobeview.read(path)
                for f in p.frequencies:
                    for c in f.cuts:
                        assert c.angles.shape == c.levels.shape and c.angles.dtype == np.float64
                read += 1
            except lobeview.Error:
                errors += 1
    assert read > 100 and read + errors == 5 * len(corpus)
