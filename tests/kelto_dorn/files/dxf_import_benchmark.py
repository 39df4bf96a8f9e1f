#!/usr/bin/python3
"""Runs the DXF import benchmark and times ezdxf.readfile of the same file in
the same run, then prints both and how many times faster the import is.
Usage: /usr/bin/python3 tests/kelto_dorn/files/dxf_import_benchmark.py [build/test/bin]"""
import json, os, subprocess, sys, tempfile, time
import ezdxf

bin_dir = sys.argv[1] if len(sys.argv) > 1 else "build/test/bin"
path = os.path.join(tempfile.gettempdir(), "kelto_dxf_import_benchmark_%d.dxf" % os.getpid())
env = dict(os.environ, KELTO_DXF_BENCH_FILE=path)
try:
    out = subprocess.run([os.path.join(bin_dir, "dorn_dxf_import_benchmark"), "--benchmark_format=json"],
                         env=env, check=True, capture_output=True, text=True).stdout
    run = json.loads(out)["benchmarks"][0]
    ours = run["real_time"] / 1000.0  # ms -> s
    start = time.perf_counter()
    ezdxf.readfile(path)
    theirs = time.perf_counter() - start
    print("import   %8.3f s  (%d figures)" % (ours, run.get("figures", 0)))
    print("ezdxf    %8.3f s  (readfile)" % theirs)
    print("import is %.1f times faster" % (theirs / ours))
finally:
    if os.path.exists(path):
        os.remove(path)
