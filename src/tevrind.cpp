// tevrind: the three exported functions and the temperature laws behind them.
//
// Every result must be the same bits on every compiler, flag set and
// platform, so each expression below is written in exactly the order and
// grouping the results are defined by: C++ evaluates a*b*c as (a*b)*c and
// never reorders floating-point operations unless told to.  What could still
// change the bits is the build, not the source: contraction of a*b+c into a
// fused multiply-add, fast-math rewriting, or extended-precision
// intermediates.  The build turns the first two off on this target; the
// guards below refuse to compile where that did not happen.

#define TEVRIND_BUILDING 1
#include <tevrind.h>

#include <cfloat>
#include <cmath>

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#endif

#if defined(FLT_EVAL_METHOD) && FLT_EVAL_METHOD != 0
#error "tevrind needs plain double evaluation (FLT_EVAL_METHOD == 0): x87 extended intermediates change results; build for SSE2 (-msse2 -mfpmath=sse) or a 64-bit target"
#endif
#if defined(__FAST_MATH__)
#error "tevrind must not be compiled with -ffast-math: it reorders the arithmetic; the build adds -fno-fast-math, so a flag after it has switched it back on"
#endif
#if defined(__FINITE_MATH_ONLY__) && __FINITE_MATH_ONLY__
#error "tevrind must not be compiled with -ffinite-math-only: infinities and NaNs are part of its results"
#endif
#if defined(_MSC_VER) && (defined(_M_FP_FAST) || defined(_M_FP_CONTRACT))
#error "tevrind needs /fp:precise without /fp:contract: /fp:fast and contraction change results"
#endif
#if defined(__clang__)
// Belt and braces for Clang, which honours this within the file whatever the
// command line says; GCC has no pragma for it and relies on -ffp-contract=off.
#pragma STDC FP_CONTRACT OFF
#endif

namespace {

constexpr double reference_temp = 20.0;

// Factor of a relative temperature law: 1 + dT*tc.
inline double relative_factor(double dT, double tc) { return 1.0 + dT * tc; }

// Relative law: the value at 20 degrees scaled by (1 + dT*tc).
inline double relative_law(double value_20, double dT, double tc)
{
    return relative_factor(dT, tc) * value_20;
}

// Absolute law: dT*tc added to the value at 20 degrees.
inline double absolute_law(double value_20, double dT, double tc)
{
    return dT * tc + value_20;
}

}  // namespace

extern "C" {

double calc_tau0_20(double tau0, double temp, double tc_tau0)
{
    const double dT = temp - reference_temp;
    return tau0 / relative_factor(dT, tc_tau0);
}

double calc_pO2(double tau, double temp, double tau0_20, double ksv_20,
                double frac_20, double m_20, double tc_ksv,
                double tc_tau0, double tc_m, double tc_frac)
{
    const double dT = temp - reference_temp;
    const double A = relative_law(tau0_20, dT, tc_tau0);  // tau0_T
    const double K = relative_law(ksv_20, dT, tc_ksv);    // ksv_T
    const double m = absolute_law(m_20, dT, tc_m);        // m_T
    const double f = absolute_law(frac_20, dT, tc_frac);  // frac_T: absolute law here
    const double B = tau;

    // The model multiplied out is a*p^2 + b*p + c = 0 with a = m*K^2*B,
    // c = B - A and b = V below; the root taken is (-b + sqrt(b^2 - 4ac)) / 2a.
    const double fKA = f * K * A;
    const double fmKA = f * m * K * A;
    const double KA = K * A;
    const double KB = K * B;
    const double mKB = m * K * B;
    const double V = ((KB + (fKA - fmKA)) - KA) + mKB;
    const double D = V * V - (B - A) * (4.0 * m * K * K * B);
    const double R = std::sqrt(D);
    const double N = (KA + ((fmKA + (R - fKA)) - KB)) - mKB;  // R - V
    return N / ((m + m) * K * K * B);
}

double calc_ksv_20(double tau0_20, double tau, double pO2, double temp,
                   double frac_20, double m_20, double tc_ksv,
                   double tc_tau0, double tc_m, double tc_frac)
{
    const double dT = temp - reference_temp;
    const double A = relative_law(tau0_20, dT, tc_tau0);  // tau0_T
    const double F = relative_law(frac_20, dT, tc_frac);  // frac_T: relative law here
    const double G = absolute_law(m_20, dT, tc_m);        // m_T
    const double B = tau;
    const double P = pO2;

    // With x = ksv_T*pO2 the model is G*B*x^2 + u*x + (B - A) = 0; its
    // discriminant u^2 - 4*G*B*(B - A) is summed term by term in expanded form.
    const double p1 = A * F;
    const double p2 = G * B;
    const double p3 = B * B;
    const double p4 = A * A;
    const double p5 = B + B;
    const double p6 = p1 * p5;
    const double p7 = (F + F) * p4;
    const double p8 = G + G;
    const double p9 = F * F * p4;
    const double p10 = G * G;

    double s = (A + A) * p2 + G * p7;
    s = s - A * p5;
    s = s - p3 * p8;
    s = p3 * p10 + s;
    s = s + p3;
    s = s + p4;
    s = s - p6 * p10;
    s = s + p6;
    s = s - p7;
    s = s - p8 * p9;
    const double S = (p9 * p10 + s) + p9;

    const double N = (((A + (G * p1 - B)) - p1) - p2) + std::sqrt(S);  // -u + sqrt(S)
    const double ksv_T = N / ((G + G) * P * B);
    return ksv_T / relative_factor(dT, tc_ksv);
}

#ifdef _WIN32
// Loading and unloading do nothing of the library's own: there is nothing to
// set up or tear down.
BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
#endif

}  // extern "C"
