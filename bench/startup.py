#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Time from process start to the main window's first paint, and peak resident memory,
for the timer and for a bare Qt window of the same size in a program that links Qt alone,
on Xvfb and offscreen.

    python3 bench/startup.py [BUILD_DIR] [RUNS]

Each figure is the median of RUNS runs (default 9), the programs alternating.
Starts its own Xvfb and stops it again.

For reference it also times the bare window with one label in the default font, once with
Latin text and once with the Japanese of the timer's menu: the price of drawing any text at all,
which the empty bare window never pays.
"""
import os
import shutil
import statistics
import subprocess
import sys
import time

build = sys.argv[1] if len(sys.argv) > 1 else "build"
runs = int(sys.argv[2]) if len(sys.argv) > 2 else 9
pomvale_probe = os.path.join(build, "bench", "pomvale-startup-probe")
bare_probe = os.path.join(build, "bench", "bare-qt-startup-probe")
probes = {"pomvale": [pomvale_probe],
          "bare": [bare_probe],
          "latin label": [bare_probe, "03:00"],
          "japanese label": [bare_probe, "オプション"]}


def run_once(mode, env):
    start = time.monotonic_ns()
    child = subprocess.Popen(probes[mode], env=env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    out = child.stdout.read()
    _, status, usage = os.wait4(child.pid, 0)
    if status != 0 or not out.strip():
        raise RuntimeError(f"{mode} probe failed with status {status}")
    painted = int(out.split()[0])
    return (painted - start) / 1e6, usage.ru_maxrss / 1024  # ms, MiB


def measure(platform_env):
    results = {mode: ([], []) for mode in probes}
    for _ in range(runs):
        for mode in results:
            ms, mib = run_once(mode, platform_env)
            results[mode][0].append(ms)
            results[mode][1].append(mib)
    return {mode: (statistics.median(t), statistics.median(m)) for mode, (t, m) in results.items()}


def report(name, figures):
    (p_ms, p_mib), (b_ms, b_mib) = figures["pomvale"], figures["bare"]
    print(f"{name:10} first paint: Pomvale {p_ms:7.1f} ms, bare Qt {b_ms:7.1f} ms, ratio {p_ms / b_ms:4.2f}"
          f" | peak RSS: Pomvale {p_mib:6.1f} MiB, bare Qt {b_mib:6.1f} MiB, ratio {p_mib / b_mib:4.2f}")
    for label in ("latin label", "japanese label"):
        ms, mib = figures[label]
        print(f"{'':10}   bare Qt with a {label}: {ms:7.1f} ms, ratio {ms / b_ms:4.2f}"
              f" | {mib:6.1f} MiB, ratio {mib / b_mib:4.2f}")


def main():
    base = dict(os.environ, XDG_RUNTIME_DIR=os.environ.get("XDG_RUNTIME_DIR", "/tmp"))
    base.pop("QT_QPA_PLATFORM", None)
    print(f"median of {runs} runs each")
    report("offscreen", measure(dict(base, QT_QPA_PLATFORM="offscreen")))

    if not shutil.which("Xvfb"):
        print("Xvfb: not installed, skipped")
        return
    display = ":97"
    xvfb = subprocess.Popen(["Xvfb", display, "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        for _ in range(100):
            if os.path.exists(f"/tmp/.X11-unix/X{display[1:]}"):
                break
            time.sleep(0.05)
        report("Xvfb", measure(dict(base, DISPLAY=display, QT_QPA_PLATFORM="xcb")))
    finally:
        xvfb.terminate()
        xvfb.wait()


if __name__ == "__main__":
    main()
