#!/usr/bin/env python3
"""Writes typical calculator expressions for timing numerette-eval against bc and python3.

The same expressions come out three times, one per line:
  numerette.txt  for numerette-eval (VBScript syntax)
  bc.txt         for bc -l (a "scale=20" line first)
  python.txt     for a python3 loop that evals each line

Only what the three agree on is used: decimal numbers, + - * / and parentheses, and ^ (**)
with an exponent of 2 or 3 on a number or a parenthesised group. No unary minus (-2^2 is 4
in VBScript and bc, -4 in python), no chained ^ (VBScript groups it to the left, the others to
the right). Every expression is checked as it is built (in floating point, plenty for bounds
this coarse), so that none divides by zero or grows beyond what a calculator shows:
numerette-eval evaluates all of them without an error.
"""

import argparse
import os
import random

LIMIT = 1e12            # no result or intermediate beyond this magnitude
SMALLEST_DIVISOR = 0.01


class Reject(Exception):
    pass


def number(rng):
    """A number as people type them: 7, 65, 5.25, 6.5, 1499.99, 0.75."""
    kind = rng.random()
    if kind < 0.4:
        text = str(rng.randint(1, rng.choice((9, 99, 999))))
    elif kind < 0.7:
        text = f"{rng.randint(0, rng.choice((9, 99, 999)))}.{rng.randint(1, 99):02d}".rstrip("0")
    elif kind < 0.9:
        text = f"{rng.randint(0, 99)}.{rng.randint(1, 9)}"
    else:
        text = f"{rng.randint(1000, 99999)}.{rng.randint(0, 99):02d}".rstrip("0").rstrip(".")
    return text, float(text)


def checked(value):
    if abs(value) > LIMIT:
        raise Reject()
    return value


class Node:
    """An expression in the three syntaxes, with its value."""

    def __init__(self, vb, py, value, operators):
        self.vb, self.py, self.value, self.operators = vb, py, checked(value), operators


def binary(left, op, right):
    py_op = "**" if op == "^" else op
    if op == "^":
        value = left.value ** right.value
    elif op == "*":
        value = left.value * right.value
    elif op == "/":
        if abs(right.value) < SMALLEST_DIVISOR:
            raise Reject()
        value = left.value / right.value
    elif op == "+":
        value = left.value + right.value
    else:
        value = left.value - right.value
    return Node(f"{left.vb} {op} {right.vb}", f"{left.py} {py_op} {right.py}", value,
                left.operators + right.operators + 1)


def factor(rng, depth):
    if depth > 0 and rng.random() < 0.2:
        inner = expression(rng, depth - 1)
        if inner.operators == 0:
            base = inner  # "( 7 )" is nobody's habit
        else:
            base = Node(f"( {inner.vb} )", f"( {inner.py} )", inner.value, inner.operators)
    else:
        text, value = number(rng)
        base = Node(text, text, value, 0)
    if rng.random() < 0.08 and abs(base.value) <= 100:
        k = rng.choice((2, 2, 3))
        return binary(base, "^", Node(str(k), str(k), k, 0))
    return base


def term(rng, depth):
    node = factor(rng, depth)
    for _ in range(rng.choice((0, 0, 1, 1, 2))):
        node = binary(node, "*" if rng.random() < 0.6 else "/", factor(rng, depth))
    return node


def expression(rng, depth):
    node = term(rng, depth)
    for _ in range(rng.choice((0, 1, 1, 2, 3))):
        node = binary(node, rng.choice("+-"), term(rng, depth))
    return node


def generate(count, seed):
    rng = random.Random(seed)
    result = []
    while len(result) < count:
        try:
            # Mostly one level of parentheses, as in "238 + 67 * 5.25 - ( 65 - 6.5 ) / 22".
            node = expression(rng, 2 if rng.random() < 0.15 else 1)
        except Reject:
            continue
        # A lone number is no calculation; a screenful is not typical.
        if 1 <= node.operators <= 16:
            result.append(node)
    return result


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("outdir", help="directory for numerette.txt, bc.txt and python.txt")
    parser.add_argument("-n", "--count", type=int, default=100_000, help="how many (default 100000)")
    parser.add_argument("--seed", type=int, default=1999, help="random seed (default 1999)")
    args = parser.parse_args()

    nodes = generate(args.count, args.seed)
    os.makedirs(args.outdir, exist_ok=True)

    def write(name, lines, header=None):
        with open(os.path.join(args.outdir, name), "w", encoding="ascii", newline="\n") as f:
            if header:
                f.write(header + "\n")
            for line in lines:
                f.write(line + "\n")

    write("numerette.txt", (n.vb for n in nodes))
    # bc's ^ is the same operator with the same (integer) exponents.
    write("bc.txt", (n.vb for n in nodes), header="scale=20")
    write("python.txt", (n.py for n in nodes))


if __name__ == "__main__":
    main()
