#!/usr/bin/env python3
"""Two builds of bivox-cli side by side on one score, whole process, runs alternating.

    bench/compare_cli.py BEFORE-CLI AFTER-CLI SCORE [--runs N] [--jobs syntax,expand,stereo]

The runs work on a copy of the score in a temporary folder; each of the N rounds runs
every job with both builds. For every job it prints
the median processor time (user + system) and wall time of the process, MB/s of input by
processor time, and the peak resident memory, as a Markdown table. Processor time is what
a shared machine disturbs least; wall time includes waiting for a processor. The timed runs
start the program itself; the peak memory comes from a few more runs through GNU time,
whose own start would otherwise be timed with every run (about 2 ms).
"""

import argparse
import os
import shutil
import statistics
import subprocess
import tempfile
import time


def run_timed(cli, job, score):
    """Processor seconds and wall seconds of one run of the program alone."""
    start = time.perf_counter()
    process = subprocess.Popen([cli, job, score],
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(process.pid, 0)
    wall = time.perf_counter() - start
    if os.waitstatus_to_exitcode(status) != 0:
        raise SystemExit(f"{cli} {job} failed")
    return usage.ru_utime + usage.ru_stime, wall


def peak_rss(cli, job, score, report):
    """Peak resident memory (KiB) of one run, through GNU time: the rusage a parent reads
    counts the parent's own pages until the child executes."""
    subprocess.run(["/usr/bin/time", "-f", "%M", "-o", report, cli, job, score],
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
    with open(report, encoding="ascii") as lines:
        return int(lines.read().split()[-1])


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("before")
    parser.add_argument("after")
    parser.add_argument("score")
    parser.add_argument("--runs", type=int, default=15)
    parser.add_argument("--jobs", default="syntax,expand,stereo")
    args = parser.parse_args()
    size = os.path.getsize(args.score)
    clis = {"before": os.path.abspath(args.before), "after": os.path.abspath(args.after)}
    print("| job | before ms | now ms | ratio | before MB/s | now MB/s "
          "| wall before / now ms | peak RSS before / now MB |")
    print("|---|---|---|---|---|---|---|---|")
    jobs = args.jobs.split(",")
    times = {(job, name): [] for job in jobs for name in clis}
    with tempfile.TemporaryDirectory() as folder:
        score = os.path.join(folder, "score.zrb")
        report = os.path.join(folder, "time.txt")
        shutil.copyfile(args.score, score)
        # Each round runs every job with both builds, so that the machine's speed, which
        # drifts within minutes, weighs on every figure alike.
        for _ in range(args.runs):
            for job in jobs:
                for name, cli in clis.items():
                    times[job, name].append(run_timed(cli, job, score))
        rss = {(job, name): max(peak_rss(cli, job, score, report) for _ in range(3)) / 1024
               for job in jobs for name, cli in clis.items()}
    for job in jobs:
        cpu = {n: statistics.median(t[0] for t in times[job, n]) * 1000 for n in clis}
        wall = {n: statistics.median(t[1] for t in times[job, n]) * 1000 for n in clis}
        rate = {n: size / 1e6 / (cpu[n] / 1000) for n in clis}
        print(f"| {job} | {cpu['before']:.1f} | {cpu['after']:.1f} "
              f"| {cpu['before'] / cpu['after']:.2f} | {rate['before']:.1f} "
              f"| {rate['after']:.1f} | {wall['before']:.1f} / {wall['after']:.1f} "
              f"| {rss[job, 'before']:.1f} / {rss[job, 'after']:.1f} |")


if __name__ == "__main__":
    main()
