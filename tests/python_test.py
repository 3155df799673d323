"""The Python module against the built library: every reference case, bit
for bit, through the plain functions and through Sensor.

Run by ctest with TEVRIND_LIBRARY naming the library, the module's folder on
PYTHONPATH, and the vector file as the argument.
"""

import math
import os
import struct
import subprocess
import sys
import unittest

import tevrind

VECTORS = None


def from_hex(field):
    return struct.unpack("<d", struct.pack("<Q", int(field, 16)))[0]


def same(got, want):
    if math.isnan(want):
        return math.isnan(got)
    return struct.pack("<d", got) == struct.pack("<d", want)


def load(path):
    cases = {}
    with open(path) as f:
        for line in f:
            if line.startswith("#") or not line.strip():
                continue
            name, *fields = line.split()
            values = [from_hex(x) for x in fields]
            cases.setdefault(name, []).append((values[:-1], values[-1]))
    return cases


def through_sensor(name, a):
    if name == "calc_tau0_20":
        constants = tevrind.SensorConstants(0, 0, 0, a[2], 0, 0)
        return tevrind.Sensor(constants).calibrate_zero(tau0=a[0], temp=a[1])
    constants = tevrind.SensorConstants(*a[4:])
    if name == "calc_pO2":
        return tevrind.Sensor(constants, tau0_20=a[2], ksv_20=a[3]).pO2(tau=a[0], temp=a[1])
    return tevrind.Sensor(constants, tau0_20=a[0]).calibrate(tau=a[1], pO2=a[2], temp=a[3])


class ReferenceVectors(unittest.TestCase):
    def check(self, call):
        self.assertEqual(sorted(VECTORS), ["calc_ksv_20", "calc_pO2", "calc_tau0_20"])
        for name, cases in VECTORS.items():
            failures = [(args, want, got) for args, want in cases
                        for got in [call(name, args)] if not same(got, want)]
            self.assertEqual(failures[:3], [], "%s: %d of %d cases differ"
                             % (name, len(failures), len(cases)))

    def test_functions_bit_for_bit(self):
        self.check(lambda name, args: getattr(tevrind, name)(*args))

    def test_sensor_gives_the_same_bits(self):
        self.check(through_sensor)


class Loading(unittest.TestCase):
    def test_named_library_that_is_missing_is_an_import_error(self):
        env = dict(os.environ, TEVRIND_LIBRARY=os.path.join(os.sep, "no", "such", "libtevrind"))
        run = subprocess.run([sys.executable, "-c", "import tevrind"], env=env,
                             capture_output=True, text=True)
        self.assertNotEqual(run.returncode, 0)
        self.assertIn("ImportError", run.stderr)
        self.assertIn("TEVRIND_LIBRARY", run.stderr)

    def test_loaded_from_the_named_library(self):
        self.assertEqual(tevrind.library_path, os.environ["TEVRIND_LIBRARY"])


if __name__ == "__main__":
    VECTORS = load(sys.argv.pop(1))
    unittest.main()
