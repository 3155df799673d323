#!/usr/bin/env python3
"""Draws the demo sensor's Stern-Volmer plot from the library's own results.

    TEVRIND_LIBRARY=build/default/lib/libtevrind.so.1 \
        python3 examples/plot_stern_volmer.py docs/stern-volmer.png

tau0/tau against pO2 at a few temperatures: for each, a sweep of lifetimes
from tau0 down, converted to partial pressures by calc_pO2.  The single-site
Stern-Volmer line of the same ksv at 20 degrees is drawn for comparison: the
two-site model bends away from it as the second, less quenched, site keeps
its light.  Needs matplotlib (Debian: python3-matplotlib).
"""

import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "python"))

import matplotlib  # noqa: E402

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402

import tevrind  # noqa: E402

# The demo host's sample sensor, calibrated as the demo calibrates it.
SENSOR = tevrind.Sensor(tevrind.SensorConstants(
    frac_20=0.83, m_20=0.09, tc_ksv=0.0085, tc_tau0=-0.0021, tc_m=0.0004, tc_frac=0.0))
SENSOR.calibrate_zero(tau0=58.2, temp=24.6)
SENSOR.calibrate(tau=21.0, pO2=212.3, temp=22.0)

TEMPERATURES = [5.0, 20.0, 35.0]
MAX_PO2 = 1000.0  # hPa


def tau0_at(temp):
    return (1.0 + (temp - 20.0) * SENSOR.constants.tc_tau0) * SENSOR.tau0_20


def curve(temp):
    """(pO2, tau0_T/tau) along a sweep of lifetimes at temp."""
    tau0_T = tau0_at(temp)
    points = []
    for i in range(400):
        ratio = 1.0 - 0.9 * i / 399.0  # tau / tau0_T
        p = SENSOR.pO2(tau=ratio * tau0_T, temp=temp)
        if p > MAX_PO2:
            break
        points.append((p, 1.0 / ratio))
    return points


def main(out):
    fig, ax = plt.subplots(figsize=(7, 4.5), dpi=110)
    for temp, colour in zip(TEMPERATURES, ["tab:blue", "tab:green", "tab:red"]):
        pts = curve(temp)
        ax.plot([p for p, _ in pts], [y for _, y in pts], color=colour,
                label="two-site model, %g °C" % temp)
    ax.plot([0.0, MAX_PO2], [1.0, 1.0 + SENSOR.ksv_20 * MAX_PO2], "k--", linewidth=1,
            label="single site, same ksv, 20 °C")
    ax.plot([212.3], [tau0_at(22.0) / 21.0], "ko", markersize=4)
    ax.annotate("calibration point (22 °C)", (212.3, tau0_at(22.0) / 21.0),
                textcoords="offset points", xytext=(8, -12), fontsize=8)
    ax.set_xlim(0, MAX_PO2)
    ax.set_ylim(bottom=1.0)
    ax.set_xlabel("pO2 [hPa]")
    ax.set_ylabel("tau0 / tau")
    ax.set_title("Stern-Volmer plot of the demo sensor (ksv_20 = %.5f 1/hPa)" % SENSOR.ksv_20)
    ax.grid(True, alpha=0.3)
    ax.legend(loc="upper left", fontsize=8)
    fig.tight_layout()
    fig.savefig(out)
    print("wrote", out)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "stern-volmer.png")
