# Reading the largest pattern from Python: lobeview.read (the record and its
# NumPy arrays) beside the C++ load alone in the same process
# (lobeview._read_record_only), and beside the floor of any pure-Python
# reader: the file's point lines split and parsed with float(), nothing
# else. Medians of many runs, each taking turns. docs/PERFORMANCE.md.
import math
import os
from concurrent.futures import ThreadPoolExecutor
import statistics
import sys
import tempfile
import time

import numpy as np

import lobeview

MAX_FREQ, MAX_CUTS, MAX_SAMPLES = 12, 8, 362


def largest_pattern(path):
    """12 frequencies x 8 cuts x 362 points, as the C++ benchmarks' largest pattern."""
    angles = np.arange(MAX_SAMPLES, dtype=np.float64) - 180.0
    freqs = []
    for f in range(MAX_FREQ):
        cuts = []
        for c in range(MAX_CUTS):
            lobe = (1.0 + np.cos(angles * math.pi / 180.0 * (1 + c % 3))) / 2.0
            levels = np.minimum(40.0, -20.0 * np.log10(0.01 + 0.99 * lobe * lobe))
            cuts.append(("V" if c % 2 else "H", "V/V", angles, np.round(levels, 3)))
        freqs.append((str(400 + 10 * f), cuts))
    lobeview.Pattern.from_cuts(freqs, {"name": "BENCH-LARGEST"}).write(path)


def float_parse_floor(path):
    table = []
    with open(path, "rb") as f:
        for line in f:
            if line[:1].isdigit() or line[:1] == b"-":
                a, l = line.split(b",")[:2]
                table.append((float(a), float(l)))
    return len(table)


def median_ms(fn, path, runs):
    times = []
    for _ in range(runs):
        t = time.perf_counter()
        fn(path)
        times.append((time.perf_counter() - t) * 1e3)
    return statistics.median(times)


def loop_reads(paths):
    for p in paths:
        lobeview.read(p)


def pool_reads(paths, pool):
    list(pool.map(lobeview.read, paths))


def main():
    runs = int(sys.argv[1]) if len(sys.argv) > 1 else 200
    with tempfile.TemporaryDirectory() as folder:
        path = os.path.join(folder, "largest.nsma")
        largest_pattern(path)
        size = os.path.getsize(path)
        figures = {"read": [], "cpp": [], "floor": []}
        for _ in range(5):  # in turns, so a drift of the machine's pace reaches all three
            figures["read"].append(median_ms(lobeview.read, path, runs))
            figures["cpp"].append(median_ms(lobeview._read_record_only, path, runs))
            figures["floor"].append(median_ms(float_parse_floor, path, max(1, runs // 10)))
        read, cpp, floor = (statistics.median(figures[k]) for k in ("read", "cpp", "floor"))
        print(f"Python read of the largest NSMA file ({size // 1024} KB, 96 cuts x 362 points)")
        print(f"  lobeview.read (record + NumPy arrays)   {read:8.2f} ms")
        print(f"  the C++ load alone, same process        {cpp:8.2f} ms   ratio {read / cpp:.2f} (target <= 1.5)")
        print(f"  floor of a pure-Python reader (float()) {floor:8.2f} ms   {floor / read:.1f} x lobeview.read")
        # The loads release the GIL: threads read side by side on every core.
        threads = os.cpu_count() or 1
        library = [path] * 200
        loops, pools = [], []
        with ThreadPoolExecutor(threads) as pool:
            for _ in range(5):
                t = time.perf_counter()
                loop_reads(library)
                loops.append(time.perf_counter() - t)
                t = time.perf_counter()
                pool_reads(library, pool)
                pools.append(time.perf_counter() - t)
        loop, pooled = statistics.median(loops), statistics.median(pools)
        print(f"  200 reads in a loop {loop * 1e3:.0f} ms, by {threads} threads {pooled * 1e3:.0f} ms: "
              f"speed-up {loop / pooled:.2f} on {threads} cores")


if __name__ == "__main__":
    main()
