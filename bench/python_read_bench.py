#!/usr/bin/env python3
"""The Python package against the C++ core: reading a 10 s 12-lead record into numpy
(target: within 1.5x the C++ load of the same file), and analyze_archive on two local
workers against one (target: at least 1.8x the records per second).

    PYTHONPATH=build/gcc/python /usr/bin/python3 bench/python_read_bench.py \
        [--build build/gcc] [--records 40] [--skip-archive]

The C++ figure comes from ktx_bench's BM_LoadNamedRecord on the same file (a build
with -DKTX_BUILD_BENCH=ON). The machine's load matters: the script prints it.
"""
import argparse
import json
import os
import subprocess
import sys
import tempfile
import time
import timeit

import numpy as np

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "python", "tests"))


def best_of(call, number, repeat=7):
    return min(timeit.repeat(call, number=number, repeat=repeat)) / number


def cpp_load_seconds(build, record):
    bench = os.path.join(build, "bench", "ktx_bench")
    if not os.path.exists(bench):
        return None
    out = subprocess.run([bench, "--benchmark_filter=BM_LoadNamedRecord$",
                          "--benchmark_repetitions=5", "--benchmark_format=json"],
                         env={**os.environ, "KTX_BENCH_RECORD": record}, check=True,
                         capture_output=True, text=True).stdout
    runs = [b for b in json.loads(out)["benchmarks"] if b.get("run_type") == "iteration"]
    return min(b["real_time"] for b in runs) * {"ns": 1e-9, "us": 1e-6, "ms": 1e-3}[
        runs[0]["time_unit"]]


def archive_rate(folder, workers, copy_to):
    import distributed
    from ktxscp32.archive import analyze_archive

    with distributed.LocalCluster(n_workers=workers, threads_per_worker=1, processes=True,
                                  dashboard_address=None) as cluster, \
            distributed.Client(cluster) as client:
        paths = sorted(os.path.join(folder, f) for f in os.listdir(folder))
        client.run(lambda: __import__("ktxscp32"))  # warm the workers' imports
        start = time.perf_counter()
        table = analyze_archive(paths, client=client, copy_to=copy_to, batch_size=4,
                                progress=False)
        elapsed = time.perf_counter() - start
    assert (table["result"] == 0).all(), table[table["result"] != 0]
    return len(paths) / elapsed


def local_rate(folder, scheduler, copy_to):
    from ktxscp32.archive import analyze_archive

    paths = sorted(os.path.join(folder, f) for f in os.listdir(folder))
    start = time.perf_counter()
    analyze_archive(paths, copy_to=copy_to, batch_size=2, progress=False, scheduler=scheduler)
    return len(paths) / (time.perf_counter() - start)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", default=os.path.join(HERE, "..", "build", "gcc"))
    parser.add_argument("--records", type=int, default=40)
    parser.add_argument("--skip-archive", action="store_true")
    args = parser.parse_args()
    import ktxscp32
    from conftest import LEADS, synthetic_ecg

    print(f"load average before: {os.getloadavg()}, cores: {os.cpu_count()}")
    with tempfile.TemporaryDirectory() as tmp:
        record = os.path.join(tmp, "12lead10s.scp")
        ktxscp32.create(record, synthetic_ecg(), 500, LEADS)
        python = best_of(lambda: ktxscp32.read(record), 200)
        cpp = cpp_load_seconds(args.build, record)
        print(f"ktxscp32.read (12 x 5000 into float32): {python * 1e6:.0f} us")
        if cpp:
            print(f"C++ CReader::Load, same file: {cpp * 1e6:.0f} us; ratio {python / cpp:.2f}x "
                  f"(target <= 1.5x)")
        if args.skip_archive:
            return
        folder = os.path.join(tmp, "archive")
        os.makedirs(folder)
        for i in range(args.records):
            ktxscp32.create(os.path.join(folder, f"ecg{i:03d}.scp"),
                            synthetic_ecg(heart_rate=50 + i % 40, seed=i), 500, LEADS)
        one = archive_rate(folder, 1, os.path.join(tmp, "one"))
        two = archive_rate(folder, 2, os.path.join(tmp, "two"))
        print(f"analyze_archive, {args.records} records: 1 worker {one:.1f}/s, "
              f"2 workers {two:.1f}/s, speed-up {two / one:.2f}x (target >= 1.8x)")
        rates = {s: local_rate(folder, s, os.path.join(tmp, s)) for s in ("synchronous", "threads")}
        print(f"without a cluster: one by one {rates['synchronous']:.1f}/s, threaded "
              f"{rates['threads']:.1f}/s ({rates['threads'] / rates['synchronous']:.2f}x: "
              f"the GIL is released)")
    print(f"load average after: {os.getloadavg()}")


if __name__ == "__main__":
    main()
