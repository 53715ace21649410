#!/usr/bin/env python3
"""Writes everyday calculator expressions, as people type them, for numerette-eval and bc -l.

Where generate_expressions.py keeps to what three tools share, these are what a person types
into a calculator: functions (Sqr, Round, Abs, Int), upper- and lower-case names, spaces or
none, a minus sign in front of a number, percentages as "* 0.19", nested parentheses.
The same expressions come out twice, one per line:
  numerette.txt  for numerette-eval
  bc.txt         for bc -l: a preamble of scale=20 and the functions bc lacks, then the lines

In bc, Sqr is sqrt, Abs and Int (which the calculator computes as Fix, toward zero) are
defined in the preamble, and Round(x, n) rounds half away from zero: no argument of Round is
near a tie, so that banker's rounding and bc's agree. Every expression is checked as it is
built (in floating point) so that none divides by zero, takes the root of a negative number
or grows beyond what a calculator shows.
"""

import argparse
import math
import os
import random

LIMIT = 1e12

BC_PREAMBLE = """scale=20
define abs(x) { if (x < 0) return (-x); return (x); }
define int(x) { auto s; s = scale; scale = 0; x = x / 1; scale = s; return (x); }
define round(x, n) {
  auto s, f, r; s = scale; f = 10 ^ n; scale = 0
  if (x < 0) r = -((-x * f + 0.5) / 1) else r = (x * f + 0.5) / 1
  scale = s; return (r / f)
}"""


class Reject(Exception):
    pass


def checked(value):
    if not math.isfinite(value) or abs(value) > LIMIT:
        raise Reject()
    return value


class Node:
    def __init__(self, vb, bc, value, operators):
        self.vb, self.bc, self.value, self.operators = vb, bc, checked(value), operators


def name(rng, word):
    """Sqr, SQR or sqr: people type names in any case."""
    kind = rng.random()
    return word if kind < 0.6 else word.lower() if kind < 0.9 else word.upper()


def number(rng):
    kind = rng.random()
    if kind < 0.35:
        text = str(rng.randint(1, rng.choice((9, 99, 999, 9999))))
    elif kind < 0.75:
        text = f"{rng.randint(0, rng.choice((9, 99, 999)))}.{rng.randint(1, 99):02d}".rstrip("0")
    elif kind < 0.9:
        text = f"0.{rng.randint(1, 99):02d}".rstrip("0")
    else:
        text = f"{rng.randint(1000, 99999)}.{rng.randint(1, 9)}"
    if rng.random() < 0.05:
        return Node("-" + text, "-" + text, -float(text), 0)
    return Node(text, text, float(text), 0)


def call(rng, depth, sp):
    inner = expression(rng, depth - 1, sp)
    kind = rng.random()
    if kind < 0.35:
        if inner.value < 0:
            raise Reject()
        return Node(f"{name(rng, 'Sqr')}({inner.vb})", f"sqrt({inner.bc})", math.sqrt(inner.value),
                    inner.operators + 1)
    if kind < 0.7:
        places = rng.choice((0, 1, 2, 2, 2))
        scaled = abs(inner.value) * 10 ** places
        if abs(scaled - math.floor(scaled) - 0.5) < 1e-6:
            raise Reject()  # a tie: the two roundings part there
        value = math.floor(scaled + 0.5) / 10 ** places * (-1 if inner.value < 0 else 1)
        vb = f"{name(rng, 'Round')}({inner.vb},{sp}{places})" if places or rng.random() < 0.5 \
            else f"{name(rng, 'Round')}({inner.vb})"
        return Node(vb, f"round({inner.bc}, {places})", value, inner.operators + 1)
    if kind < 0.9:
        return Node(f"{name(rng, 'Abs')}({inner.vb})", f"abs({inner.bc})", abs(inner.value),
                    inner.operators + 1)
    if abs(inner.value - round(inner.value)) < 1e-6:
        raise Reject()  # a whole number in bc may lie a hair below it in binary
    return Node(f"{name(rng, 'Int')}({inner.vb})", f"int({inner.bc})", float(math.trunc(inner.value)),
                inner.operators + 1)


def factor(rng, depth, sp):
    kind = rng.random()
    if depth > 0 and kind < 0.2:
        base = call(rng, depth, sp)
    elif depth > 0 and kind < 0.35:
        inner = expression(rng, depth - 1, sp)
        base = Node(f"({inner.vb})", f"({inner.bc})", inner.value, inner.operators) if inner.operators else inner
    else:
        base = number(rng)
    if rng.random() < 0.06 and 0 <= base.value <= 100 and not base.vb.startswith("-"):
        k = rng.choice((2, 2, 3))
        return Node(f"{base.vb}{sp}^{sp}{k}", f"{base.bc}^{k}", base.value ** k, base.operators + 1)
    return base


def binary(left, op, right, sp):
    if op == "/":
        if abs(right.value) < 0.01:
            raise Reject()
        value = left.value / right.value
    else:
        value = {"*": left.value * right.value, "+": left.value + right.value,
                 "-": left.value - right.value}[op]
    return Node(f"{left.vb}{sp}{op}{sp}{right.vb}", f"{left.bc} {op} {right.bc}", value,
                left.operators + right.operators + 1)


def expression(rng, depth, sp):
    node = factor(rng, depth, sp)
    for _ in range(rng.choice((0, 1, 1, 2))):
        node = binary(node, "*" if rng.random() < 0.6 else "/", factor(rng, depth, sp), sp)
    for _ in range(rng.choice((0, 1, 1, 2))):
        node = binary(node, rng.choice("+-"), factor(rng, depth, sp), sp)
    return node


def generate(count, seed):
    rng = random.Random(seed)
    result = []
    while len(result) < count:
        sp = " " if rng.random() < 0.7 else ""
        try:
            node = expression(rng, rng.choice((1, 1, 2)), sp)
        except Reject:
            continue
        if 1 <= node.operators <= 12:
            result.append(node)
    return result


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("outdir", help="directory for numerette.txt and bc.txt")
    parser.add_argument("-n", "--count", type=int, default=100_000, help="how many (default 100000)")
    parser.add_argument("--seed", type=int, default=2026, help="random seed (default 2026)")
    args = parser.parse_args()
    nodes = generate(args.count, args.seed)
    os.makedirs(args.outdir, exist_ok=True)
    with open(os.path.join(args.outdir, "numerette.txt"), "w", encoding="ascii", newline="\n") as f:
        f.writelines(n.vb + "\n" for n in nodes)
    with open(os.path.join(args.outdir, "bc.txt"), "w", encoding="ascii", newline="\n") as f:
        f.write(BC_PREAMBLE + "\n")
        f.writelines(n.bc + "\n" for n in nodes)


if __name__ == "__main__":
    main()
