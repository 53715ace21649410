#!/usr/bin/env python3
"""Writes short calculator lines, one operator or two between numbers, for numerette-eval and bc -l.

The fixed cost of a line (reading it, starting an evaluation, writing the result) weighs most
on lines like these. Each kind comes out twice, one expression per line:
  numerette.txt  for numerette-eval
  bc.txt         for bc -l (a "scale=20" line first)

Kinds:
  decimal   two decimal numbers and one operator: 237.96 / 13.91
  integer   two whole numbers and one operator: 12 + 7
  integer3  three whole numbers and two operators: 3 * 4 - 2
  negative  a minus sign before a number on either side: -12.5 * 3.25, 7 - -2.5
  power     a number to the power 2 or 3: 1.05 ^ 3, 12 ^ 2 + 1
No divisor is zero, and no result needs more than a calculator shows.
"""

import argparse
import os
import random

KINDS = ("decimal", "integer", "integer3", "negative", "power")


def decimal(rng):
    whole = rng.randint(0, rng.choice((9, 99, 999)))
    return f"{whole}.{rng.randint(1, 99):02d}".rstrip("0")


def integer(rng):
    return str(rng.randint(1, rng.choice((9, 99, 999))))


def line(rng, kind):
    if kind == "decimal":
        return f"{decimal(rng)} {rng.choice('+-*/')} {decimal(rng)}"
    if kind == "integer":
        return f"{integer(rng)} {rng.choice('+-*/')} {integer(rng)}"
    if kind == "integer3":
        return f"{integer(rng)} {rng.choice('+-*/')} {integer(rng)} {rng.choice('+-*/')} {integer(rng)}"
    if kind == "negative":
        left = rng.choice((decimal, integer))(rng)
        right = rng.choice((decimal, integer))(rng)
        if rng.random() < 0.5:
            left = "-" + left
        else:
            right = "-" + right
        return f"{left} {rng.choice('+-*/')} {right}"
    base = rng.choice((decimal, integer))(rng)
    if rng.random() < 0.5:
        return f"{base} ^ {rng.choice((2, 3))}"
    return f"{base} ^ {rng.choice((2, 3))} {rng.choice('+-')} {integer(rng)}"


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("outdir", help="directory for numerette.txt and bc.txt")
    parser.add_argument("-n", "--count", type=int, default=100_000, help="how many (default 100000)")
    parser.add_argument("--kind", choices=KINDS, default="decimal", help="which lines (default decimal)")
    parser.add_argument("--seed", type=int, default=2024, help="random seed (default 2024)")
    args = parser.parse_args()

    rng = random.Random(args.seed)
    lines = []
    while len(lines) < args.count:
        text = line(rng, args.kind)
        # A divisor that is zero, or a power that grows past what is shown, is left out.
        try:
            value = eval(text.replace("^", "**"))
        except ZeroDivisionError:
            continue
        if abs(value) > 1e12:
            continue
        lines.append(text)
    os.makedirs(args.outdir, exist_ok=True)
    with open(os.path.join(args.outdir, "numerette.txt"), "w", encoding="ascii", newline="\n") as f:
        f.writelines(t + "\n" for t in lines)
    with open(os.path.join(args.outdir, "bc.txt"), "w", encoding="ascii", newline="\n") as f:
        f.write("scale=20\n")
        f.writelines(t + "\n" for t in lines)


if __name__ == "__main__":
    main()
