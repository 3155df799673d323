#!/usr/bin/env python3
"""Independent reference for tevrind and generator of its test vectors.

The three functions are written out again here, from the formulas, in Python:
a Python float is an IEEE-754 double, every operation on it is rounded to
double, and math.sqrt is correctly rounded, so this module computes the very
bits the library must return.  Python raises where IEEE arithmetic returns an
infinity or a NaN (division by zero, square root of a negative number), so
those two operations go through small helpers that give the IEEE result.

Run it to write the vector file, or to check that a committed file is what it
writes:

    reference.py --output vectors.txt
    reference.py --check vectors.txt
    reference.py --seed 7 --count 500 --output other.txt   # a fresh set

The file holds one case a line: the function's name, its arguments and then its
result, each double as the 16 hex digits of its bits.  Lines starting with '#'
are comments.  Only the standard library is used.
"""

import argparse
import math
import random
import struct
import sys

INF = math.inf
NAN = math.nan


# --- IEEE-754 operations that Python does not give directly ----------------

def div(a, b):
    """a / b with IEEE semantics for a zero divisor."""
    if b == 0.0:
        if a != a or a == 0.0:
            return NAN
        sign = math.copysign(1.0, a) * math.copysign(1.0, b)
        return math.copysign(INF, sign)
    return a / b


def sqrt(x):
    """Correctly rounded square root; NaN for a negative argument."""
    if x != x:
        return x
    if x < 0.0:
        return NAN
    return math.sqrt(x)  # keeps the sign of -0.0, as IEEE does


# --- The library's functions, operation by operation ----------------------

def relative_law(value_20, dT, tc):
    return (1.0 + dT * tc) * value_20


def absolute_law(value_20, dT, tc):
    return dT * tc + value_20


def calc_tau0_20(tau0, temp, tc_tau0):
    dT = temp - 20.0
    q = dT * tc_tau0 + 1.0
    return div(tau0, q)


def calc_pO2(tau, temp, tau0_20, ksv_20, frac_20, m_20,
             tc_ksv, tc_tau0, tc_m, tc_frac):
    dT = temp - 20.0
    A = relative_law(tau0_20, dT, tc_tau0)
    K = relative_law(ksv_20, dT, tc_ksv)
    m = absolute_law(m_20, dT, tc_m)
    f = absolute_law(frac_20, dT, tc_frac)
    B = tau
    fKA = (f * K) * A
    fmKA = ((f * m) * K) * A
    KA = K * A
    KB = K * B
    mKB = (m * K) * B
    V = ((KB + (fKA - fmKA)) - KA) + mKB
    D = V * V - (B - A) * ((((4.0 * m) * K) * K) * B)
    R = sqrt(D)
    N = (KA + ((fmKA + (R - fKA)) - KB)) - mKB
    return div(N, (((m + m) * K) * K) * B)


def calc_ksv_20(tau0_20, tau, pO2, temp, frac_20, m_20,
                tc_ksv, tc_tau0, tc_m, tc_frac):
    dT = temp - 20.0
    A = relative_law(tau0_20, dT, tc_tau0)
    F = relative_law(frac_20, dT, tc_frac)
    G = absolute_law(m_20, dT, tc_m)
    B = tau
    P = pO2
    p1 = A * F
    p2 = G * B
    p3 = B * B
    p4 = A * A
    p5 = B + B
    p6 = p1 * p5
    p7 = (F + F) * p4
    p8 = G + G
    p9 = (F * F) * p4
    p10 = G * G
    s = (A + A) * p2 + G * p7
    s = s - A * p5
    s = s - p3 * p8
    s = p3 * p10 + s
    s = s + p3
    s = s + p4
    s = s - p6 * p10
    s = s + p6
    s = s - p7
    s = s - p8 * p9
    S = (p9 * p10 + s) + p9
    N = (((A + (G * p1 - B)) - p1) - p2) + sqrt(S)
    ksv_T = div(N, ((G + G) * P) * B)
    return div(ksv_T, 1.0 + dT * tc_ksv)


FUNCTIONS = {
    "calc_tau0_20": calc_tau0_20,
    "calc_pO2": calc_pO2,
    "calc_ksv_20": calc_ksv_20,
}


# --- Test cases -----------------------------------------------------------

# Values that exercise the edges of IEEE arithmetic, put in place of one
# argument of an ordinary case at a time.
SPECIALS = [
    0.0, -0.0, INF, -INF, NAN,
    5e-324,                  # smallest subnormal
    -2.2250738585072009e-308,  # largest negative subnormal
    2.2250738585072014e-308,   # smallest normal
    1.7976931348623157e308, -1.7976931348623157e308,
    1e300, -1e-300, 1.0, -1.0,
]


def log_uniform(rng, lo_exp, hi_exp):
    """A value spread evenly over the decades 10**lo_exp .. 10**hi_exp.

    Built from a whole decade and a mantissa with plain, correctly rounded
    operations, so that every platform draws the same bits (math.exp and
    math.pow come from the C library and may differ in the last place).
    """
    k = rng.randrange(lo_exp, hi_exp)
    mantissa = 1.0 + 9.0 * rng.random()
    if k >= 0:
        return mantissa * float(10 ** k)
    return mantissa / float(10 ** -k)


def sensor_constants(rng):
    """frac_20, m_20, tc_ksv, tc_tau0, tc_m, tc_frac of a plausible sensor."""
    return [
        rng.uniform(0.3, 1.0),        # frac_20
        rng.uniform(0.0, 0.8),        # m_20
        rng.uniform(-0.005, 0.03),    # tc_ksv, per degree, relative
        rng.uniform(-0.005, 0.001),   # tc_tau0, per degree, relative
        rng.uniform(-0.004, 0.004),   # tc_m, per degree, absolute
        rng.uniform(-0.005, 0.005),   # tc_frac, per degree
    ]


def model_tau(tau0_T, ksv_T, frac_T, m_T, pO2):
    """Lifetime that the two-site model gives at pO2 (any order will do)."""
    x = ksv_T * pO2
    return tau0_T * (frac_T / (1.0 + x) + (1.0 - frac_T) / (1.0 + m_T * x))


def physical_point(rng, frac_law):
    """A plausible sensor at a plausible temperature and partial pressure,
    with the lifetime the model gives there (under the weight law of the
    function the case is for)."""
    tau0_20 = rng.uniform(5.0, 200.0)
    ksv_20 = log_uniform(rng, -4, 0)
    temp = rng.uniform(-10.0, 60.0)
    c = sensor_constants(rng)
    frac_20, m_20, tc_ksv, tc_tau0, tc_m, tc_frac = c
    dT = temp - 20.0
    pO2 = log_uniform(rng, -3, 4)
    if pO2 > 3000.0:
        pO2 = 3000.0 * rng.random()
    tau = model_tau(relative_law(tau0_20, dT, tc_tau0),
                    relative_law(ksv_20, dT, tc_ksv),
                    frac_law(frac_20, dT, tc_frac),
                    absolute_law(m_20, dT, tc_m), pO2)
    return tau0_20, ksv_20, temp, c, pO2, tau


def physical_pO2_case(rng):
    tau0_20, ksv_20, temp, c, _, tau = physical_point(rng, absolute_law)
    return [tau, temp, tau0_20, ksv_20] + c


def physical_ksv_case(rng):
    tau0_20, _, temp, c, pO2, tau = physical_point(rng, relative_law)
    return [tau0_20, tau, pO2, temp] + c


def physical_tau0_case(rng):
    return [rng.uniform(5.0, 200.0), rng.uniform(-10.0, 60.0),
            rng.uniform(-0.005, 0.001)]


# Degenerate inputs named one by one: what a host can run into.
DEGENERATE = {
    "calc_tau0_20": [
        [66.0, 30.0, 0.01],
        [54.0, 10.0, 0.01],
        [60.0, 20.0, 123.456],        # dT = 0
        [60.0, 37.5, 0.0],            # no coefficient
        [60.0, 120.0, -0.01],         # divisor zero: +inf
        [-60.0, 120.0, -0.01],        # divisor zero: -inf
        [0.0, 120.0, -0.01],          # 0 / 0
        [60.0, 20.0, INF],            # 0 * inf
    ],
    "calc_pO2": [
        [30.0, 20.0, 60.0, 0.02, 1.0, 0.2, 0.0, 0.0, 0.0, 0.0],
        [35.0, 20.0, 60.0, 0.01, 0.5, 0.5, 0.01, -0.002, 0.003, 0.004],
        [30.0, 30.0, 60.0, 0.02, 1.0, 0.2, 0.01, 0.01, 0.0, 0.0],
        [60.0, 20.0, 60.0, 0.02, 0.8, 0.2, 0.0, 0.0, 0.0, 0.0],    # tau = tau0
        [61.0, 20.0, 60.0, 0.02, 0.8, 0.2, 0.0, 0.0, 0.0, 0.0],    # tau > tau0
        [30.0, 20.0, 60.0, 0.02, 0.8, 0.0, 0.0, 0.0, 0.0, 0.0],    # m_T = 0
        [30.0, 30.0, 60.0, 0.02, 0.8, 0.1, 0.0, 0.0, -0.01, 0.0],  # m_T = 0 at temp
        [30.0, 20.0, 60.0, 0.02, 0.8, -0.5, 0.0, 0.0, 0.0, 0.0],   # D < 0
        [30.0, 20.0, 60.0, 0.0, 0.8, 0.2, 0.0, 0.0, 0.0, 0.0],     # ksv = 0
        [0.0, 20.0, 60.0, 0.02, 0.8, 0.2, 0.0, 0.0, 0.0, 0.0],     # tau = 0
        [30.0, 120.0, 60.0, 0.02, 0.8, 0.2, 0.0, -0.01, 0.0, 0.0], # tau0_T = 0
        [30.0, 120.0, 60.0, 0.02, 0.8, 0.2, -0.01, 0.0, 0.0, 0.0], # ksv_T = 0
    ],
    "calc_ksv_20": [
        [60.0, 30.0, 50.0, 20.0, 1.0, 0.2, 0.0, 0.0, 0.0, 0.0],
        [60.0, 35.0, 100.0, 20.0, 0.5, 0.5, 0.01, -0.002, 0.003, 0.004],
        [50.0, 20.0, 150.0, 35.0, 0.8, 0.1, 0.01, 0.0, 0.0, 0.01],
        [60.0, 60.0, 100.0, 20.0, 0.8, 0.2, 0.0, 0.0, 0.0, 0.0],   # tau = tau0
        [60.0, 61.0, 100.0, 20.0, 0.8, 0.2, 0.0, 0.0, 0.0, 0.0],   # tau > tau0
        [60.0, 30.0, 0.0, 20.0, 0.8, 0.2, 0.0, 0.0, 0.0, 0.0],     # pO2 = 0
        [60.0, 30.0, -0.0, 20.0, 0.8, 0.2, 0.0, 0.0, 0.0, 0.0],    # pO2 = -0
        [60.0, 30.0, 100.0, 20.0, 0.8, 0.0, 0.0, 0.0, 0.0, 0.0],   # m_T = 0
        [60.0, 30.0, 100.0, 20.0, 0.8, -0.5, 0.0, 0.0, 0.0, 0.0],  # S < 0
        [60.0, 0.0, 100.0, 20.0, 0.8, 0.2, 0.0, 0.0, 0.0, 0.0],    # tau = 0
        [60.0, 30.0, 100.0, 120.0, 0.8, 0.2, -0.01, 0.0, 0.0, 0.0],  # 1 + dT*tc_ksv = 0
        [60.0, 30.0, 100.0, 120.0, 0.8, 0.2, 0.0, -0.01, 0.0, 0.0],  # tau0_T = 0
    ],
}

PHYSICAL = {
    "calc_tau0_20": physical_tau0_case,
    "calc_pO2": physical_pO2_case,
    "calc_ksv_20": physical_ksv_case,
}


def cases(seed, count):
    """Yield (name, arguments) for every case, in a fixed order."""
    rng = random.Random(seed)
    for name, physical in PHYSICAL.items():
        for args in DEGENERATE[name]:
            yield name, args
        base = physical(rng)
        for i in range(len(base)):
            for special in SPECIALS:
                args = list(base)
                args[i] = special
                yield name, args
        for _ in range(count):
            yield name, physical(rng)


# --- The file -------------------------------------------------------------

def hex_bits(x):
    return "%016x" % struct.unpack("<Q", struct.pack("<d", x))[0]


def render(seed, count):
    lines = [
        "# tevrind reference vectors: function, arguments, result;",
        "# each double as the 16 hex digits of its IEEE-754 bits.",
        "# Written by tests/reference/reference.py --seed %d --count %d;" % (seed, count),
        "# do not edit by hand.",
    ]
    for name, args in cases(seed, count):
        result = FUNCTIONS[name](*args)
        lines.append(" ".join([name] + [hex_bits(a) for a in args + [result]]))
    return "\n".join(lines) + "\n"


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--seed", type=int, default=20)
    parser.add_argument("--count", type=int, default=3000,
                        help="random physical cases for each function")
    group = parser.add_mutually_exclusive_group(required=True)
    group.add_argument("--output", help="write the vectors to this file")
    group.add_argument("--check", help="compare this file with what would be written")
    opts = parser.parse_args(argv)

    text = render(opts.seed, opts.count)
    if opts.output:
        with open(opts.output, "w", newline="\n") as f:
            f.write(text)
        return 0
    with open(opts.check, newline="\n") as f:
        committed = f.read()
    if committed == text:
        print("%s: %d lines, as the reference writes them" % (opts.check, text.count("\n")))
        return 0
    want, have = text.splitlines(), committed.splitlines()
    for i, (w, h) in enumerate(zip(want, have), 1):
        if w != h:
            print("%s:%d differs from the reference\n  file:      %s\n  reference: %s"
                  % (opts.check, i, h, w))
            break
    else:
        print("%s has %d lines, the reference writes %d" % (opts.check, len(have), len(want)))
    return 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
