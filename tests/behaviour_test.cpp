// What the functions mean, as opposed to which bits they return: worked
// examples, the outcomes of degenerate inputs, the model solved in both
// directions, the calibration-measurement round trip, and threads.

#include <tevrind.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <thread>
#include <vector>

namespace {

std::int64_t ordered(double d)
{
    std::int64_t i;
    std::memcpy(&i, &d, sizeof i);
    return i < 0 ? std::numeric_limits<std::int64_t>::min() - i : i;
}

// Distance in units in the last place between two finite doubles.
std::int64_t ulps(double a, double b)
{
    const std::int64_t d = ordered(a) - ordered(b);
    return d < 0 ? -d : d;
}

struct Sensor {
    double frac_20, m_20, tc_ksv, tc_tau0, tc_m, tc_frac;
};

double pO2(double tau, double temp, double tau0_20, double ksv_20, const Sensor& s)
{
    return calc_pO2(tau, temp, tau0_20, ksv_20, s.frac_20, s.m_20, s.tc_ksv, s.tc_tau0,
                    s.tc_m, s.tc_frac);
}

double ksv_20(double tau0_20, double tau, double p, double temp, const Sensor& s)
{
    return calc_ksv_20(tau0_20, tau, p, temp, s.frac_20, s.m_20, s.tc_ksv, s.tc_tau0,
                       s.tc_m, s.tc_frac);
}

// tau / tau0_T of the two-site model.
double model_ratio(double ksv_T, double frac_T, double m_T, double p)
{
    return frac_T / (1.0 + ksv_T * p) + (1.0 - frac_T) / (1.0 + m_T * ksv_T * p);
}

TEST(WorkedExamples, MatchTheirExactValues)
{
    const Sensor single{1.0, 0.2, 0.0, 0.0, 0.0, 0.0};
    const Sensor two_site{0.5, 0.5, 0.01, -0.002, 0.003, 0.004};  // coefficients inert at 20
    const Sensor warm{1.0, 0.2, 0.01, 0.01, 0.0, 0.0};
    const Sensor plain{0.8, 0.2, 0.0, 0.0, 0.0, 0.0};
    struct Example {
        const char* what;
        double got;
        double expected;
        std::int64_t max_ulps;  // "to within rounding"; 0 where exact
    };
    const Example examples[] = {
        {"tau0 at 30 degrees, divisor 1.1", calc_tau0_20(66, 30, 0.01), 60, 2},
        {"tau0 at 10 degrees, divisor 0.9", calc_tau0_20(54, 10, 0.01), 60, 2},
        {"tau0 at 20 degrees is returned as is", calc_tau0_20(61.3, 20, 123.456), 61.3, 0},
        {"tau0 with no coefficient is returned as is", calc_tau0_20(61.3, -7.25, 0), 61.3, 0},
        {"pO2, single-site limit", pO2(30, 20, 60, 0.02, single), 50, 4},
        {"pO2, two sites", pO2(35, 20, 60, 0.01, two_site), 100, 4},
        {"pO2, at 30 degrees", pO2(30, 30, 60, 0.02, warm), 600.0 / 11.0, 4},
        {"ksv, single-site limit", ksv_20(60, 30, 50, 20, single), 0.02, 4},
        {"ksv, two sites", ksv_20(60, 35, 100, 20, two_site), 0.01, 4},
    };
    for (const Example& e : examples)
        EXPECT_LE(ulps(e.got, e.expected), e.max_ulps)
            << e.what << ": got " << e.got << ", expected " << e.expected;

    // Unquenched: zero to within rounding of the pressure scale 1/ksv.
    EXPECT_NEAR(pO2(60, 20, 60, 0.02, plain), 0.0, 1e-12 / 0.02);
    EXPECT_NEAR(ksv_20(60, 60, 100, 20, plain), 0.0, 1e-12 * 0.02);
    // A lifetime just above tau0 reads as a small negative pressure.
    EXPECT_NEAR(pO2(61, 20, 60, 0.02, plain), -0.97, 0.01);
}

TEST(DegenerateInputs, ComeOutAsInfinitiesAndNaNs)
{
    const double inf = std::numeric_limits<double>::infinity();
    const Sensor plain{0.8, 0.2, 0.0, 0.0, 0.0, 0.0};
    const Sensor no_second_quenching{0.8, 0.0, 0.0, 0.0, 0.0, 0.0};
    const Sensor negative_m{0.8, -0.5, 0.0, 0.0, 0.0, 0.0};
    struct Outcome {
        const char* what;
        double got;
        double expected;  // an infinity, or NaN for not-a-number
    };
    const Outcome outcomes[] = {
        {"tau0: 1 + dT*tc = 0", calc_tau0_20(60, 120, -0.01), inf},
        {"tau0: 1 + dT*tc = 0, negative", calc_tau0_20(-60, 120, -0.01), -inf},
        {"tau0: 0 / 0", calc_tau0_20(0, 120, -0.01), NAN},
        {"tau0: NaN in", calc_tau0_20(NAN, 25, 0.01), NAN},
        {"pO2: m_T = 0", pO2(30, 20, 60, 0.02, no_second_quenching), inf},
        {"pO2: negative discriminant", pO2(30, 20, 60, 0.02, negative_m), NAN},
        {"pO2: tau = 0", pO2(0, 20, 60, 0.02, plain), inf},
        {"pO2: NaN in", pO2(30, NAN, 60, 0.02, plain), NAN},
        {"ksv: pO2 = 0", ksv_20(60, 30, 0, 20, plain), inf},
        {"ksv: m_T = 0", ksv_20(60, 30, 100, 20, no_second_quenching), inf},
        {"ksv: negative discriminant", ksv_20(60, 30, 100, 20, negative_m), NAN},
        {"ksv: NaN in", ksv_20(60, 30, 100, 20, Sensor{NAN, 0.2, 0, 0, 0, 0}), NAN},
    };
    for (const Outcome& o : outcomes) {
        if (std::isnan(o.expected))
            EXPECT_TRUE(std::isnan(o.got)) << o.what << ": got " << o.got;
        else
            EXPECT_EQ(o.got, o.expected) << o.what;
    }
}

// Physical sensors at physical temperatures: a lifetime made by the model at
// a known pressure, solved back by each function, satisfies the model again.
class ModelProperty : public testing::Test {
protected:
    std::mt19937_64 rng{20261211};
    double uniform(double lo, double hi) { return std::uniform_real_distribution<>(lo, hi)(rng); }
    double log_uniform(double lo, double hi) { return std::exp(uniform(std::log(lo), std::log(hi))); }

    Sensor sensor()
    {
        return {uniform(0.3, 0.95), uniform(0.05, 0.8), uniform(0.0, 0.02),
                uniform(-0.004, 0.0), uniform(-5e-4, 5e-4), uniform(-1e-3, 1e-3)};
    }
    static constexpr double tolerance = 1e-12;
    static constexpr int rounds = 20000;
};

TEST_F(ModelProperty, PressureSatisfiesTheModel)
{
    for (int i = 0; i < rounds; ++i) {
        const Sensor s = sensor();
        const double tau0_20 = uniform(5, 200), ksv = log_uniform(1e-4, 1);
        const double temp = uniform(-10, 60), dT = temp - 20;
        const double tau0_T = (1 + dT * s.tc_tau0) * tau0_20;
        const double ksv_T = (1 + dT * s.tc_ksv) * ksv;
        const double frac_T = dT * s.tc_frac + s.frac_20;  // absolute law in measurement
        const double m_T = dT * s.tc_m + s.m_20;
        const double tau = tau0_T * model_ratio(ksv_T, frac_T, m_T, log_uniform(1e-3, 3000));

        const double p = pO2(tau, temp, tau0_20, ksv, s);
        const double ratio = tau / tau0_T;
        ASSERT_NEAR(model_ratio(ksv_T, frac_T, m_T, p), ratio, tolerance * ratio)
            << "tau " << tau << " temp " << temp << " -> pO2 " << p;
    }
}

TEST_F(ModelProperty, QuenchingConstantSatisfiesTheModel)
{
    for (int i = 0; i < rounds; ++i) {
        const Sensor s = sensor();
        const double tau0_20 = uniform(5, 200), ksv = log_uniform(1e-4, 1);
        const double temp = uniform(-10, 60), dT = temp - 20, p = log_uniform(1e-3, 3000);
        const double tau0_T = (1 + dT * s.tc_tau0) * tau0_20;
        const double frac_T = (1 + dT * s.tc_frac) * s.frac_20;  // relative law in calibration
        const double m_T = dT * s.tc_m + s.m_20;
        const double tau = tau0_T * model_ratio((1 + dT * s.tc_ksv) * ksv, frac_T, m_T, p);

        const double k = ksv_20(tau0_20, tau, p, temp, s);
        const double ratio = tau / tau0_T;
        ASSERT_NEAR(model_ratio((1 + dT * s.tc_ksv) * k, frac_T, m_T, p), ratio, tolerance * ratio)
            << "tau " << tau << " pO2 " << p << " temp " << temp << " -> ksv_20 " << k;
    }
}

// Calibrate at one point, then measure that same lifetime and temperature.
// The two functions scale the first site's weight by different laws, so the
// pressure comes back only where the laws agree.
TEST(RoundTrip, ReturnsTheCalibrationPressureWhereTheWeightLawsAgree)
{
    struct Trip {
        const char* what;
        double temp, frac_20, tc_frac;
        bool laws_agree;
    };
    const Trip trips[] = {
        {"at 20 degrees", 20, 0.8, 0.01, true},
        {"no weight coefficient", 35, 0.8, 0.0, true},
        {"single site", 35, 1.0, 0.01, true},
        {"weight coefficient away from 20", 35, 0.8, 0.01, false},
    };
    const double tau0_20 = 50, tau = 20, cal_pO2 = 150;
    for (const Trip& t : trips) {
        const Sensor s{t.frac_20, 0.1, 0.01, 0.0, 0.0, t.tc_frac};
        const double k = ksv_20(tau0_20, tau, cal_pO2, t.temp, s);
        const double back = pO2(tau, t.temp, tau0_20, k, s);
        if (t.laws_agree)
            EXPECT_NEAR(back, cal_pO2, 1e-12 * cal_pO2) << t.what;
        else
            EXPECT_NEAR(back, 140.63, 0.01) << t.what;
    }
}

// Nothing is shared between calls: any number of threads get the bits one
// thread gets.
TEST(Threads, GetTheSameBitsAsOneThread)
{
    std::mt19937_64 rng(7);
    std::uniform_real_distribution<> u(0.0, 1.0);
    constexpr int n = 4000;
    std::vector<double> in(10 * n);
    for (double& x : in)
        x = 0.01 + 100 * u(rng);

    auto run = [&in](std::vector<double>& out) {
        out.resize(3 * n);
        for (int i = 0; i < n; ++i) {
            const double* a = &in[10 * i];
            out[3 * i] = calc_tau0_20(a[0], a[1], a[2] * 1e-4);
            out[3 * i + 1] = calc_pO2(a[0], a[1], a[2], a[3] * 1e-3, a[4] * 1e-2, a[5] * 1e-2,
                                      a[6] * 1e-4, a[7] * 1e-4, a[8] * 1e-4, a[9] * 1e-4);
            out[3 * i + 2] = calc_ksv_20(a[0], a[1], a[2], a[3], a[4] * 1e-2, a[5] * 1e-2,
                                         a[6] * 1e-4, a[7] * 1e-4, a[8] * 1e-4, a[9] * 1e-4);
        }
    };
    std::vector<double> expected;
    run(expected);

    constexpr int threads = 8;
    std::vector<std::vector<double>> results(threads);
    std::vector<std::thread> pool;
    for (int t = 0; t < threads; ++t)
        pool.emplace_back([&run, &results, t] {
            for (int repeat = 0; repeat < 5; ++repeat)
                run(results[t]);
        });
    for (std::thread& t : pool)
        t.join();
    for (int t = 0; t < threads; ++t)
        EXPECT_EQ(std::memcmp(results[t].data(), expected.data(), expected.size() * sizeof(double)), 0)
            << "thread " << t;
}

}  // namespace
