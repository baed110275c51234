#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The web edition's batch tool against the native one on generated cases.

  compare_batch.py NATIVE_BATCH WEB_BATCH_MJS [--gases N] [--singles M] [--seed S]

Each generated gas (c1, gamma, V1 over the settings' ranges, with a few faulting ones) is run as
--sweep 0:180, so every wedge angle from 0 to 180 is one case; M further cases run singly with
--exact and --bmp, comparing the printed lines and the pictures' bytes.  Prints how many cases
give identical output and what the others differ in; the exit status is 1 when fewer than 99.5 %
are identical or a difference is more than one unit of the last printed digit or one pixel.
"""
import argparse
import concurrent.futures
import os
import random
import re
import subprocess
import sys
import tempfile

NODE = ["node", "--no-experimental-fetch"]


def case_file(folder, name, c1, gamma100, v1, chi):
    path = os.path.join(folder, name + ".psr")
    with open(path, "wb") as f:
        f.write(f"{c1}\r\n{gamma100}\r\n{v1}\r\n{chi}\r\n".encode())
    return path


def run(command):
    p = subprocess.run(command, capture_output=True)
    return p.returncode, p.stdout, p.stderr


def gases(rng, count):
    """(c1, gamma x 100, V1): mostly air-like to heavy gases at every speed, a few faults."""
    fixed = [(340, 140, 680), (340, 140, 1000000), (340, 140, 365), (340, 140, 1000),
             (0, 140, 680), (340, 50, 5000), (340, 100, 2000), (1000, 300, 999999)]
    out = fixed[:count]
    while len(out) < count:
        c1 = rng.choice([rng.randint(100, 1000), rng.randint(100, 1000), rng.randint(1, 5000)])
        gamma100 = rng.choice([rng.randint(101, 300), rng.randint(101, 300), rng.choice([100, 105, 167, 140])])
        v1 = int(round(10 ** rng.uniform(2.563, 6))) if rng.random() < 0.9 else 1000000
        out.append((c1, gamma100, min(max(v1, 365), 1000000)))
    return out


NUMBER = re.compile(r"-?\d+(?:[.,]\d+)?(?:E-?\d+)?")


def last_digit_apart(a, b):
    """True when two differing lines differ only in numbers one unit of their last digit apart."""
    na, nb = NUMBER.findall(a), NUMBER.findall(b)
    if len(na) != len(nb) or NUMBER.sub("#", a) != NUMBER.sub("#", b):
        return False
    for x, y in zip(na, nb):
        if x == y:
            continue
        dx = len(x.split(".")[1]) if "." in x and "E" not in x else 0
        dy = len(y.split(".")[1]) if "." in y and "E" not in y else 0
        try:
            if abs(float(x) - float(y)) > 1.0000001 * 10 ** -max(dx, dy):
                return False
        except ValueError:
            return False
    return True


def bmp_pixels_apart(a, b):
    """Pixels in which two BMP files of the same size differ; None when they are not comparable."""
    if len(a) != len(b) or len(a) < 54 or a[:54] != b[:54]:
        return None
    offset = int.from_bytes(a[10:14], "little")
    width = int.from_bytes(a[18:22], "little")
    bpp = int.from_bytes(a[28:30], "little") // 8
    differing = set()
    for i in range(offset, len(a)):
        if a[i] != b[i]:
            j = i - offset
            row_bytes = (width * bpp + 3) // 4 * 4
            differing.add((j // row_bytes, (j % row_bytes) // bpp))
    return len(differing)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("native")
    ap.add_argument("web")
    ap.add_argument("--gases", type=int, default=56)
    ap.add_argument("--singles", type=int, default=200)
    ap.add_argument("--seed", type=int, default=2026)
    ap.add_argument("--jobs", type=int, default=os.cpu_count() or 2)
    args = ap.parse_args()
    rng = random.Random(args.seed)
    web = NODE + [args.web]

    identical = 0
    total = 0
    kinds = {}
    worst_ok = True
    examples = []

    def note(kind, example):
        kinds[kind] = kinds.get(kind, 0) + 1
        if len(examples) < 12:
            examples.append(example)

    with tempfile.TemporaryDirectory() as folder, concurrent.futures.ThreadPoolExecutor(args.jobs) as pool:
        sweep_cases = gases(rng, args.gases)
        jobs = []
        for n, (c1, g, v1) in enumerate(sweep_cases):
            path = case_file(folder, f"gas{n}", c1, g, v1, 0)
            jobs.append(((c1, g, v1), pool.submit(run, [args.native, "--sweep", "0:180", path]),
                         pool.submit(run, web + ["--sweep", "0:180", path])))
        singles = []
        for n in range(args.singles):
            c1, g, v1 = gases(rng, 9)[8] if n >= 8 else sweep_cases[n % len(sweep_cases)]
            chi = rng.randint(0, 180)
            path = case_file(folder, f"case{n}", c1, g, v1, chi)
            nb, wb = os.path.join(folder, f"n{n}.bmp"), os.path.join(folder, f"w{n}.bmp")
            singles.append(((c1, g, v1, chi), nb, wb,
                            pool.submit(run, [args.native, "--decimal-separator", ",", "--exact", "--bmp", nb, path]),
                            pool.submit(run, web + ["--decimal-separator", ",", "--exact", "--bmp", wb, path])))

        for gas, native, webrun in jobs:
            n_rc, n_out, n_err = native.result()
            w_rc, w_out, w_err = webrun.result()
            n_lines, w_lines = n_out.decode().splitlines()[1:], w_out.decode().splitlines()[1:]
            for chi in range(181):
                total += 1
                a = n_lines[chi] if chi < len(n_lines) else ""
                b = w_lines[chi] if chi < len(w_lines) else ""
                if a == b:
                    identical += 1
                elif last_digit_apart(a, b):
                    note("last digit of a printed number", f"{gas} chi={chi}: {a} | {b}")
                else:
                    worst_ok = False
                    note("other", f"{gas} chi={chi}: {a} | {b}")
            if (n_rc, n_err) != (w_rc, w_err):
                worst_ok = False
                note("exit status or message", f"{gas}: {n_rc} {n_err!r} | {w_rc} {w_err!r}")

        for case, nb, wb, native, webrun in singles:
            total += 1
            n_rc, n_out, n_err = native.result()
            w_rc, w_out, w_err = webrun.result()
            same_text = (n_rc, n_out, n_err) == (w_rc, w_out, w_err)
            a = open(nb, "rb").read() if os.path.exists(nb) else b""
            b = open(wb, "rb").read() if os.path.exists(wb) else b""
            if same_text and a == b:
                identical += 1
                continue
            if not same_text:
                la, lb = n_out.decode().splitlines(), w_out.decode().splitlines()
                if (n_rc, n_err) == (w_rc, w_err) and len(la) == len(lb) and all(
                        x == y or last_digit_apart(x, y) for x, y in zip(la, lb)):
                    note("last digit of a printed number", f"{case}: " + "; ".join(
                        f"{x} | {y}" for x, y in zip(la, lb) if x != y))
                else:
                    worst_ok = False
                    note("other", f"{case}: rc {n_rc}/{w_rc}")
            if a != b:
                pixels = bmp_pixels_apart(a, b)
                if pixels is not None and pixels <= 1:
                    note("one pixel of the picture", f"{case}: {pixels} pixel")
                else:
                    worst_ok = False
                    note("picture", f"{case}: {pixels} pixels differ")

    share = 100.0 * identical / total if total else 0.0
    print(f"web batch vs native: {identical} of {total} cases identical ({share:.2f} %)")
    for kind, count in sorted(kinds.items()):
        print(f"  {count} differ in: {kind}")
    for e in examples:
        print("   ", e)
    ok = share >= 99.5 and worst_ok
    print("PASS" if ok else "FAIL")
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
