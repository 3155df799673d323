/*
 * tevrind: oxygen partial pressure from luminescence lifetime.
 *
 * A luminophore's decay time shortens as oxygen quenches it.  These three
 * functions turn a measured lifetime and temperature into an oxygen partial
 * pressure under a two-site Stern-Volmer model,
 *
 *     tau / tau0_T = frac_T / (1 + ksv_T*pO2) + (1 - frac_T) / (1 + m_T*ksv_T*pO2),
 *
 * calibrate the quenching constant from one known point, and refer an
 * unquenched lifetime to the reference temperature of 20 degrees.
 *
 * Units are the caller's choice as long as they are consistent: lifetimes in
 * any one time unit (only ratios of lifetimes enter), partial pressures in any
 * one pressure unit with ksv_20 in its reciprocal, temperatures in degrees of
 * the scale on which the reference is 20 (Celsius, in practice).  Temperature
 * coefficients are per degree.
 *
 * Every function is a closed formula of its arguments: no state, no
 * allocation, no I/O, safe to call from any number of threads at once.
 * Nothing is checked and nothing is reported: degenerate inputs come out as
 * IEEE infinities, NaNs or physically meaningless numbers (listed with each
 * function).  Every operation is rounded to double in a fixed order, so the
 * results are the same bits on every platform and build.
 *
 * The six sensor constants always come in the same order:
 *   frac_20  weight of the first site at 20 degrees (the second has 1 - frac_20)
 *   m_20     ratio of the second site's quenching constant to the first's, at 20
 *   tc_ksv   relative temperature coefficient of ksv:   ksv_T  = (1 + dT*tc_ksv)*ksv_20
 *   tc_tau0  relative temperature coefficient of tau0:  tau0_T = (1 + dT*tc_tau0)*tau0_20
 *   tc_m     absolute temperature coefficient of m:     m_T    = dT*tc_m + m_20
 *   tc_frac  temperature coefficient of frac, applied differently by the two
 *            ten-argument functions (see each), with dT = temp - 20.
 */
#ifndef TEVRIND_H
#define TEVRIND_H

#if defined(_WIN32) || defined(__CYGWIN__)
#  if defined(TEVRIND_BUILDING)
#    define TEVRIND_API __declspec(dllexport)
#  else
#    define TEVRIND_API __declspec(dllimport)
#  endif
#elif defined(__GNUC__)
#  define TEVRIND_API __attribute__((visibility("default")))
#else
#  define TEVRIND_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/*
 * Refer an unquenched lifetime measured at temp to 20 degrees:
 * returns tau0 / (1 + (temp - 20)*tc_tau0), the tau0_20 that the other two
 * functions take.
 *
 *   tau0     lifetime measured with no oxygen, any time unit
 *   temp     temperature of that measurement, degrees
 *   tc_tau0  relative temperature coefficient of the lifetime, per degree
 *
 * At temp = 20, or with tc_tau0 = 0, the result is tau0 exactly.  When
 * (temp - 20)*tc_tau0 is -1 the result is an infinity with the sign of tau0
 * (NaN for tau0 = 0).  A NaN argument gives NaN.
 */
TEVRIND_API double calc_tau0_20(double tau0, double temp, double tc_tau0);

/*
 * Oxygen partial pressure from a measured lifetime: the positive root of the
 * two-site model, solved as a quadratic in pO2.  The first site's weight
 * follows the absolute law frac_T = dT*tc_frac + frac_20.
 *
 *   tau      measured lifetime, in the time unit of tau0_20
 *   temp     temperature of the measurement, degrees
 *   tau0_20  unquenched lifetime at 20 degrees (from calc_tau0_20)
 *   ksv_20   first site's quenching constant at 20 degrees, per pressure
 *            unit (from calc_ksv_20)
 *   frac_20 .. tc_frac  the six sensor constants, in the order above
 *
 * Returns pO2 in the pressure unit of 1/ksv_20.  A lifetime longer than
 * tau0_T gives a negative pressure; tau = tau0_T gives zero to within
 * rounding.  m_T = 0, ksv_T = 0 or tau = 0 divide by zero and give an
 * infinity or NaN (not the single-site value); a negative discriminant (a
 * negative m_T, say) gives NaN; a NaN argument gives NaN.
 */
TEVRIND_API double calc_pO2(double tau, double temp, double tau0_20, double ksv_20,
                            double frac_20, double m_20, double tc_ksv,
                            double tc_tau0, double tc_m, double tc_frac);

/*
 * Calibrate the first site's quenching constant from one point: the lifetime
 * tau measured at a known pO2 and temp.  Returns ksv_20, the constant
 * referred to 20 degrees.  The first site's weight follows the relative law
 * frac_T = (1 + dT*tc_frac)*frac_20 here, unlike calc_pO2: away from 20
 * degrees, and with tc_frac != 0 and frac_20 != 1, feeding the result back
 * into calc_pO2 does not return the calibration pressure exactly.
 *
 *   tau0_20  unquenched lifetime at 20 degrees (from calc_tau0_20)
 *   tau      lifetime measured at the calibration point, same time unit
 *   pO2      partial pressure at the calibration point, any pressure unit
 *   temp     temperature of the calibration point, degrees
 *   frac_20 .. tc_frac  the six sensor constants, in the order above
 *
 * Returns ksv_20 in the reciprocal of the unit of pO2.  tau = tau0_T gives
 * zero to within rounding.  pO2 = 0, m_T = 0, tau = 0 or
 * 1 + dT*tc_ksv = 0 divide by zero and give an infinity or NaN; a negative
 * discriminant gives NaN; a NaN argument gives NaN.
 */
TEVRIND_API double calc_ksv_20(double tau0_20, double tau, double pO2, double temp,
                               double frac_20, double m_20, double tc_ksv,
                               double tc_tau0, double tc_m, double tc_frac);

#ifdef __cplusplus
}
#endif

#endif /* TEVRIND_H */
