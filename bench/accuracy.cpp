// How many digits the functions get right.
//
// Over a grid of physical sensors, temperatures and partial pressures from
// 1e-3 to 3000, each function's result is compared with the exact value of
// the same formula for the same double arguments, computed in binary128
// (113-bit significand) with the numerically stable form of the quadratic's
// root.  Printed per decade of pO2: the median and largest relative error of
// calc_pO2 and calc_ksv_20, and the largest relative deviation of the
// calibration-measurement round trip where it should hold (at 20 degrees,
// with no weight coefficient, or for a single site).
//
//     tevrind_accuracy            the report
//     tevrind_accuracy --check    the report, failing if an error exceeds its bound

#include <tevrind.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#ifdef TEVRIND_QUADMATH
#include <quadmath.h>
using quad = __float128;
static quad quad_sqrt(quad x) { return sqrtq(x); }
#else
using quad = long double;  // binary128 on this target
static quad quad_sqrt(quad x) { return std::sqrt(x); }
#endif

namespace {

// A fixed sequence, the same on every platform.
class Sequence {
public:
    double uniform(double lo, double hi)
    {
        state_ = state_ * 6364136223846793005u + 1442695040888963407u;
        return lo + (hi - lo) * (static_cast<double>(state_ >> 11) / 9007199254740992.0);
    }
    double log_uniform(double lo, double hi) { return std::exp(uniform(std::log(lo), std::log(hi))); }

private:
    std::uint64_t state_ = 20;
};

struct Sensor {
    double tau0_20, ksv_20, frac_20, m_20, tc_ksv, tc_tau0, tc_m, tc_frac;
};

Sensor draw_sensor(Sequence& s)
{
    Sensor c;
    c.tau0_20 = s.uniform(5, 200);
    c.ksv_20 = s.log_uniform(1e-4, 1);
    c.frac_20 = s.uniform(0.3, 0.92);
    c.m_20 = s.uniform(0.02, 0.8);
    c.tc_ksv = s.uniform(0, 0.02);
    c.tc_tau0 = s.uniform(-0.004, 0);
    c.tc_m = s.uniform(-5e-4, 5e-4);
    c.tc_frac = s.uniform(-0.002, 0.002);
    return c;
}

// The constants at temp, exactly (to binary128), by the laws of each function.
struct AtTemp {
    quad A, K, f, m, ksv_factor;
};

AtTemp at_temp(const Sensor& c, double temp, bool relative_frac)
{
    const quad dT = static_cast<quad>(temp) - 20;
    AtTemp t;
    t.A = (1 + dT * c.tc_tau0) * c.tau0_20;
    t.ksv_factor = 1 + dT * c.tc_ksv;
    t.K = t.ksv_factor * c.ksv_20;
    t.f = relative_frac ? (1 + dT * c.tc_frac) * c.frac_20 : dT * c.tc_frac + c.frac_20;
    t.m = dT * c.tc_m + c.m_20;
    return t;
}

// The positive root of a*x^2 + b*x + c = 0 (a > 0, c < 0), without the
// cancellation of -b + sqrt(b^2 - 4ac) when b > 0.
quad stable_root(quad a, quad b, quad c)
{
    const quad r = quad_sqrt(b * b - 4 * a * c);
    return b >= 0 ? (2 * c) / (-b - r) : (-b + r) / (2 * a);
}

// The model's lifetime at x = ksv_T*pO2, rounded to the double a sensor reports.
double model_tau(const AtTemp& t, quad x)
{
    return static_cast<double>(t.A * (t.f / (1 + x) + (1 - t.f) / (1 + t.m * x)));
}

quad exact_pO2(const Sensor& c, double tau, double temp)
{
    const AtTemp t = at_temp(c, temp, false);
    const quad B = tau;
    const quad a = t.m * t.K * t.K * B;
    const quad b = t.K * (B * (1 + t.m) - t.A * (1 - t.f + t.f * t.m));
    return stable_root(a, b, B - t.A);
}

quad exact_ksv_20(const Sensor& c, double tau, double pO2, double temp)
{
    const AtTemp t = at_temp(c, temp, true);
    const quad B = tau;
    const quad u = B * (1 + t.m) - t.A * (1 - t.f + t.f * t.m);
    return stable_root(t.m * B, u, B - t.A) / pO2 / t.ksv_factor;
}

double lib_pO2(const Sensor& c, double tau, double temp, double ksv_20)
{
    return calc_pO2(tau, temp, c.tau0_20, ksv_20, c.frac_20, c.m_20, c.tc_ksv, c.tc_tau0, c.tc_m,
                    c.tc_frac);
}

double lib_ksv_20(const Sensor& c, double tau, double pO2, double temp)
{
    return calc_ksv_20(c.tau0_20, tau, pO2, temp, c.frac_20, c.m_20, c.tc_ksv, c.tc_tau0, c.tc_m,
                       c.tc_frac);
}

double relative_error(double got, quad exact)
{
    return std::fabs(static_cast<double>((got - exact) / exact));
}

struct Stats {
    std::vector<double> errors;
    void add(double e) { errors.push_back(e); }
    double median()
    {
        std::sort(errors.begin(), errors.end());
        return errors.empty() ? NAN : errors[errors.size() / 2];
    }
    double max() const
    {
        return errors.empty() ? NAN : *std::max_element(errors.begin(), errors.end());
    }
};

struct Decade {
    double lo, hi;
    // Bound for --check: some hundred times what the formulas do, and far
    // below what a wrong formula gives.  Near zero oxygen the root is the
    // difference of two nearly equal terms, so the relative error grows as
    // 1/pO2: 1e-8 hPa/pO2, and never under 1e-11.
    double bound;
    Stats pO2, ksv, round_trip;
};

constexpr int cases_per_decade = 4000;

}  // namespace

int main(int argc, char** argv)
{
    const bool check = argc > 1 && std::strcmp(argv[1], "--check") == 0;
    Sequence seq;

    std::vector<Decade> decades;
    for (double lo = 1e-3; lo < 3000; lo *= 10) {
        const double hi = std::min(lo * 10, 3000.0);
        decades.push_back({lo, hi, std::max(1e-8 / lo, 1e-11), {}, {}, {}});
    }

    for (Decade& d : decades) {
        for (int i = 0; i < cases_per_decade; ++i) {
            Sensor c = draw_sensor(seq);
            const double temp = seq.uniform(-10, 60);
            const double p = seq.log_uniform(d.lo, d.hi);

            // Measurement: a lifetime that the model gives at p.
            const AtTemp m = at_temp(c, temp, false);
            const double tau = model_tau(m, m.K * p);
            d.pO2.add(relative_error(lib_pO2(c, tau, temp, c.ksv_20), exact_pO2(c, tau, temp)));

            // Calibration: the same, under calibration's law for the weight.
            const AtTemp k = at_temp(c, temp, true);
            const double tau_cal = model_tau(k, k.K * p);
            d.ksv.add(relative_error(lib_ksv_20(c, tau_cal, p, temp), exact_ksv_20(c, tau_cal, p, temp)));

            // Round trip where the two laws agree: at 20 degrees, with no
            // weight coefficient, or for a single site, by turns.
            double trip_temp = temp;
            switch (i % 3) {
            case 0: trip_temp = 20; break;
            case 1: c.tc_frac = 0; break;
            default: c.frac_20 = 1; break;
            }
            const AtTemp r = at_temp(c, trip_temp, true);
            const double tau_trip = model_tau(r, r.K * p);
            const double ksv = lib_ksv_20(c, tau_trip, p, trip_temp);
            d.round_trip.add(std::fabs(lib_pO2(c, tau_trip, trip_temp, ksv) - p) / p);
        }
    }

    std::printf("Relative error against the exact root (binary128), %d cases a decade\n\n",
                cases_per_decade);
    std::printf("%-17s %11s %11s %11s %11s %13s\n", "pO2", "calc_pO2", "", "calc_ksv_20", "",
                "round trip");
    std::printf("%-17s %11s %11s %11s %11s %13s\n", "", "median", "max", "median", "max", "max");
    bool ok = true;
    for (Decade& d : decades) {
        std::printf("%7g - %-7g %11.2e %11.2e %11.2e %11.2e %13.2e\n", d.lo, d.hi, d.pO2.median(),
                    d.pO2.max(), d.ksv.median(), d.ksv.max(), d.round_trip.max());
        for (double worst : {d.pO2.max(), d.ksv.max(), d.round_trip.max()})
            if (!(worst <= d.bound)) {
                ok = false;
                std::printf("  above the bound %.1e\n", d.bound);
            }
    }

    // calc_tau0_20 rounds twice in its divisor and once in the quotient:
    // about one unit in the last place at most.
    Stats tau0;
    for (int i = 0; i < cases_per_decade; ++i) {
        const double tau0_meas = seq.uniform(5, 200), temp = seq.uniform(-10, 60);
        const double tc = seq.uniform(-0.004, 0.001);
        const quad exact = tau0_meas / (1 + (static_cast<quad>(temp) - 20) * tc);
        tau0.add(relative_error(calc_tau0_20(tau0_meas, temp, tc), exact));
    }
    std::printf("\ncalc_tau0_20: median %.2e, max %.2e (double epsilon %.2e)\n", tau0.median(),
                tau0.max(), 2.220446049250313e-16);
    if (!(tau0.max() <= 1e-15)) {
        ok = false;
        std::printf("  above the bound 1e-15\n");
    }

    if (check)
        std::printf("\n%s\n", ok ? "all within bounds" : "FAILED: errors above their bounds");
    return check && !ok ? 1 : 0;
}
