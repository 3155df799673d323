// tevrind for C++: the sensor's constants by name.
//
// The C functions take up to ten doubles, and the two ten-argument ones put
// their leading arguments in different orders; a host that passes them by
// position can mix them up without a word from the compiler.  Here the
// constants are named fields, and each call passes them in the right order.
//
//     tevrind::Sensor sensor{};
//     sensor.constants.frac_20 = 0.83;
//     sensor.constants.m_20 = 0.09;
//     sensor.constants.tc_ksv = 0.0085;
//     sensor.constants.tc_tau0 = -0.0021;
//     sensor.constants.tc_m = 0.0004;
//     sensor.constants.tc_frac = 0.0;
//     sensor.calibrate_zero(58.2, 24.6);       // tau0 [us] at temp [C]: sets tau0_20
//     sensor.calibrate(21.0, 212.3, 22.0);     // tau [us], pO2 [hPa], temp: sets ksv_20
//     double p = sensor.pO2(36.5, 22.0);       // tau [us], temp [C] -> pO2 [hPa]
//
// Header only, C++11 or later; the arithmetic is the library's own (these
// functions only call it), so results are the same bits as the C calls.
#ifndef TEVRIND_HPP
#define TEVRIND_HPP

#include <tevrind.h>

namespace tevrind {

// The six constants of a sensor besides tau0_20 and ksv_20.
struct SensorConstants {
    double frac_20;  // weight of the first site at 20 degrees
    double m_20;     // second site's quenching constant over the first's, at 20
    double tc_ksv;   // relative temperature coefficient of ksv, per degree
    double tc_tau0;  // relative temperature coefficient of tau0, per degree
    double tc_m;     // absolute temperature coefficient of m, per degree
    double tc_frac;  // temperature coefficient of frac, per degree
};

// Unquenched lifetime tau0 measured at temp, referred to 20 degrees.
inline double tau0_20(double tau0, double temp, double tc_tau0) noexcept
{
    return ::calc_tau0_20(tau0, temp, tc_tau0);
}

// Quenching constant at 20 degrees from one calibration point: lifetime tau
// at partial pressure pO2 and temperature temp.
inline double ksv_20(double tau0_20, const SensorConstants& c, double tau, double pO2,
                     double temp) noexcept
{
    return ::calc_ksv_20(tau0_20, tau, pO2, temp, c.frac_20, c.m_20, c.tc_ksv, c.tc_tau0,
                         c.tc_m, c.tc_frac);
}

// Partial pressure for a lifetime tau measured at temp, in the unit of 1/ksv_20.
inline double pO2(double tau0_20, double ksv_20, const SensorConstants& c, double tau,
                  double temp) noexcept
{
    return ::calc_pO2(tau, temp, tau0_20, ksv_20, c.frac_20, c.m_20, c.tc_ksv, c.tc_tau0,
                      c.tc_m, c.tc_frac);
}

// A sensor: its constants, and the two that calibration sets.
struct Sensor {
    SensorConstants constants;
    double tau0_20;  // unquenched lifetime at 20 degrees
    double ksv_20;   // first site's quenching constant at 20 degrees

    // From the lifetime tau0 measured with no oxygen at temp: sets and
    // returns tau0_20.
    double calibrate_zero(double tau0, double temp) noexcept
    {
        return tau0_20 = tevrind::tau0_20(tau0, temp, constants.tc_tau0);
    }

    // From the lifetime tau measured at a known pO2 and temp (tau0_20 set
    // first): sets and returns ksv_20.
    double calibrate(double tau, double pO2, double temp) noexcept
    {
        return ksv_20 = tevrind::ksv_20(tau0_20, constants, tau, pO2, temp);
    }

    // The partial pressure for a lifetime tau measured at temp.
    double pO2(double tau, double temp) const noexcept
    {
        return tevrind::pO2(tau0_20, ksv_20, constants, tau, temp);
    }
};

}  // namespace tevrind

#endif  // TEVRIND_HPP
