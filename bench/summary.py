#!/usr/bin/env python3
"""Prints the Performance table of the README from bivox_bench JSON output.

  build/bench/bivox_bench --benchmark_out=run.json --benchmark_out_format=json
  bench/summary.py run.json [earlier.json]

With an earlier run, its input speed stands beside the current one.
"""
import json
import sys


def load(path):
    with open(path) as f:
        runs = json.load(f)["benchmarks"]
    return {r["name"].replace("/manual_time", ""): r for r in runs}


def mbps(run):
    return run["bytes_per_second"] / 1e6


def main():
    now = load(sys.argv[1])
    before = load(sys.argv[2]) if len(sys.argv) > 2 else {}
    print("| job, 1 MB score | before MB/s | MB/s | pass 1 / pass 2 MB/s | x copy | peak MB "
          "(budget 18) | time 1 MB / 500 KB |")
    print("|---|---|---|---|---|---|---|")
    for job in ("syntax", "expand", "stereo"):
        run = now[f"BM_Job/{job}/1000000"]
        half = now[f"BM_Job/{job}/500000"]
        passes = " / ".join(f"{run[k]:.1f}" for k in ("pass1_MBps", "pass2_MBps") if k in run)
        earlier = before.get(f"BM_Job/{job}/1000000")
        print(f"| {job} | {mbps(earlier):.1f} |" if earlier else f"| {job} | |", end="")
        print(f" {mbps(run):.1f} | {passes} | {run['x_copy']:.0f} | {run['peak_MB']:.1f} |"
              f" {run['real_time'] / half['real_time']:.2f} |")
    print()
    jobs = ("syntax", "stereo")
    print("| nesting depth | " + " | ".join(f"{job} us/level" for job in jobs) + " |")
    print("|---|---|---|")
    for depth in (250, 500, 1000, 1500, 2000, 3000):
        cells = [f"{now[f'BM_Nested/{job}/{depth}']['s_per_level'] * 1e6:.2f}" for job in jobs]
        print(f"| {depth} | " + " | ".join(cells) + " |")
    for depth in (1000, 1500):
        ratios = [now[f"BM_Nested/{job}/{2 * depth}"]["real_time"] /
                  now[f"BM_Nested/{job}/{depth}"]["real_time"] for job in jobs]
        print(f"| time {2 * depth} / {depth} | " + " | ".join(f"{r:.2f}" for r in ratios) + " |")

if __name__ == "__main__":
    main()
