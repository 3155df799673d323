"""tevrind for Python: oxygen partial pressure from luminescence lifetime.

A thin ctypes binding of the tevrind shared library; the arithmetic is the
library's, so the results are the same bits as from C.

    import tevrind

    sensor = tevrind.Sensor(tevrind.SensorConstants(
        frac_20=0.83, m_20=0.09, tc_ksv=0.0085, tc_tau0=-0.0021, tc_m=0.0004,
        tc_frac=0.0))
    sensor.calibrate_zero(tau0=58.2, temp=24.6)         # sets tau0_20
    sensor.calibrate(tau=21.0, pO2=212.3, temp=22.0)     # sets ksv_20
    sensor.pO2(tau=36.5, temp=22.0)                      # a reading

Units are the caller's, as long as they are consistent: lifetimes in one time
unit, pressures in one pressure unit (ksv_20 in its reciprocal), temperatures
in degrees Celsius.  Nothing is checked: degenerate inputs give inf, nan or
meaningless numbers, as the C functions do.

The library is looked for, in this order: the path in the environment
variable TEVRIND_LIBRARY; beside this file, and in the lib/ (bin/ on
Windows) folder of the tree this file is installed in; then by the system's
own search, under libtevrind.so.1 or tevrind.dll.
"""

import ctypes
import os
import sys
from typing import NamedTuple

__all__ = [
    "SensorConstants", "Sensor", "calc_tau0_20", "calc_pO2", "calc_ksv_20",
    "library_path",
]


def _candidates():
    env = os.environ.get("TEVRIND_LIBRARY")
    if env:
        yield env
        return
    here = os.path.dirname(os.path.abspath(__file__))
    if sys.platform == "win32":
        names, folders = ["tevrind.dll"], ["bin"]
    else:
        names, folders = ["libtevrind.so.1"], ["lib", "lib64"]
    # An installed tree keeps this module in share/tevrind/python.
    prefix = os.path.normpath(os.path.join(here, "..", "..", ".."))
    for name in names:
        yield os.path.join(here, name)
        for folder in folders:
            yield os.path.join(prefix, folder, name)
    for name in names:
        yield name  # the system's search


def _load():
    errors = []
    for candidate in _candidates():
        is_path = os.sep in candidate or (os.altsep and os.altsep in candidate)
        if is_path and not os.path.exists(candidate):
            errors.append("%s: no such file" % candidate)
            continue
        try:
            return ctypes.CDLL(candidate), candidate
        except OSError as e:
            errors.append("%s: %s" % (candidate, e))
    raise ImportError("tevrind: cannot load the tevrind library (set TEVRIND_LIBRARY "
                      "to its path):\n  " + "\n  ".join(errors))


_lib, library_path = _load()
"""The file the library was loaded from, as it was found."""

_D = ctypes.c_double
for _name, _arity in (("calc_tau0_20", 3), ("calc_pO2", 10), ("calc_ksv_20", 10)):
    _f = getattr(_lib, _name)
    _f.argtypes = [_D] * _arity
    _f.restype = _D


def calc_tau0_20(tau0, temp, tc_tau0):
    """Unquenched lifetime tau0, measured at temp, referred to 20 degrees.

    Returns tau0 / (1 + (temp - 20)*tc_tau0); tau0 itself at temp = 20 or for
    tc_tau0 = 0, an infinity where the divisor is zero.
    """
    return _lib.calc_tau0_20(tau0, temp, tc_tau0)


def calc_pO2(tau, temp, tau0_20, ksv_20, frac_20, m_20, tc_ksv, tc_tau0, tc_m, tc_frac):
    """Partial pressure for lifetime tau measured at temp (the C argument order).

    In the unit of 1/ksv_20; negative for tau above tau0 at temp, inf or nan
    for m, ksv or tau zero, nan for a negative discriminant.
    """
    return _lib.calc_pO2(tau, temp, tau0_20, ksv_20, frac_20, m_20, tc_ksv, tc_tau0,
                         tc_m, tc_frac)


def calc_ksv_20(tau0_20, tau, pO2, temp, frac_20, m_20, tc_ksv, tc_tau0, tc_m, tc_frac):
    """Quenching constant at 20 degrees from lifetime tau at a known pO2 and temp.

    In the reciprocal of the unit of pO2; inf for pO2 = 0.  Note the argument
    order differs from calc_pO2's: the constant tau0_20 comes first.
    """
    return _lib.calc_ksv_20(tau0_20, tau, pO2, temp, frac_20, m_20, tc_ksv, tc_tau0,
                            tc_m, tc_frac)


class SensorConstants(NamedTuple):
    """The six constants of a sensor besides tau0_20 and ksv_20."""

    frac_20: float  # weight of the first site at 20 degrees
    m_20: float     # second site's quenching constant over the first's, at 20
    tc_ksv: float   # relative temperature coefficient of ksv, per degree
    tc_tau0: float  # relative temperature coefficient of tau0, per degree
    tc_m: float     # absolute temperature coefficient of m, per degree
    tc_frac: float  # temperature coefficient of frac, per degree


class Sensor:
    """A sensor: its constants, and tau0_20 and ksv_20 once calibrated.

    calibrate_zero() sets tau0_20, calibrate() then sets ksv_20, and pO2()
    converts readings; or set tau0_20 and ksv_20 directly from stored values.
    """

    def __init__(self, constants, tau0_20=float("nan"), ksv_20=float("nan")):
        self.constants = SensorConstants(*constants)
        self.tau0_20 = float(tau0_20)
        self.ksv_20 = float(ksv_20)

    def __repr__(self):
        return "Sensor(%r, tau0_20=%r, ksv_20=%r)" % (self.constants, self.tau0_20,
                                                      self.ksv_20)

    def calibrate_zero(self, tau0, temp):
        """From lifetime tau0 measured with no oxygen at temp: sets and returns tau0_20."""
        self.tau0_20 = calc_tau0_20(tau0, temp, self.constants.tc_tau0)
        return self.tau0_20

    def calibrate(self, tau, pO2, temp):
        """From lifetime tau measured at a known pO2 and temp: sets and returns ksv_20."""
        self.ksv_20 = calc_ksv_20(self.tau0_20, tau, pO2, temp, *self.constants)
        return self.ksv_20

    def pO2(self, tau, temp):
        """The partial pressure for lifetime tau measured at temp."""
        return calc_pO2(tau, temp, self.tau0_20, self.ksv_20, *self.constants)
