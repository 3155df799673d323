// What a call costs.
//
// Each of the three functions is timed through the shared library, the way
// a host calls it, and against two references in the same run:
//   - the same source compiled into this program as plain out-of-line
//     functions (renamed plain_calc_*), with the project's default flags and
//     none of the library's floating-point settings: the cost of the formula
//     itself, without the library around it;
//   - a bare division, and a square root with a division, the floors that no
//     implementation of these formulas gets under.
// Throughput runs over an array of realistic readings (independent calls);
// latency chains the calls, each input depending on the last result. The
// throughput benchmarks also run on one and on two threads.
//
// After the usual table, a summary gives nanoseconds per call, the ratios to
// the out-of-line formula and to the floor, and the scaling to two threads.

#include <tevrind.h>

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

extern "C" {
double plain_calc_tau0_20(double tau0, double temp, double tc_tau0);
double plain_calc_pO2(double tau, double temp, double tau0_20, double ksv_20, double frac_20,
                      double m_20, double tc_ksv, double tc_tau0, double tc_m, double tc_frac);
double plain_calc_ksv_20(double tau0_20, double tau, double pO2, double temp, double frac_20,
                         double m_20, double tc_ksv, double tc_tau0, double tc_m,
                         double tc_frac);
}

namespace {

using Fn3 = double (*)(double, double, double);
using Fn10 = double (*)(double, double, double, double, double, double, double, double, double,
                        double);

// Readings of a plausible sensor: lifetimes from the model at pressures
// from 0.1 to 1000 hPa, at temperatures from 5 to 40 degrees.
struct Readings {
    static constexpr std::size_t n = 1024;
    std::vector<double> tau, temp, pO2;
    double tau0_20 = 58.8, ksv_20 = 0.0126;
    double frac_20 = 0.83, m_20 = 0.09, tc_ksv = 0.0085, tc_tau0 = -0.0021, tc_m = 0.0004,
           tc_frac = 0.0;

    Readings()
    {
        std::uint64_t state = 20261211;
        auto uniform = [&state] {
            state = state * 6364136223846793005u + 1442695040888963407u;
            return static_cast<double>(state >> 11) / 9007199254740992.0;
        };
        for (std::size_t i = 0; i < n; ++i) {
            const double t = 5 + 35 * uniform(), p = std::pow(10.0, -1 + 4 * uniform());
            const double dT = t - 20, k = (1 + dT * tc_ksv) * ksv_20, m = dT * tc_m + m_20;
            const double f = dT * tc_frac + frac_20;
            const double tau0_T = (1 + dT * tc_tau0) * tau0_20;
            temp.push_back(t);
            pO2.push_back(p);
            tau.push_back(tau0_T * (f / (1 + k * p) + (1 - f) / (1 + m * k * p)));
        }
    }
};

const Readings& readings()
{
    static const Readings r;
    return r;
}

// One call on reading i, with lifetime tau: each of the three functions,
// through the library (F = calc_*) or out of line (F = plain_calc_*), and
// the two floors.
using Call = double (*)(const Readings& r, std::size_t i, double tau);

template <Fn3 F>
double tau0_20(const Readings& r, std::size_t i, double tau)
{
    return F(tau, r.temp[i], r.tc_tau0);
}

template <Fn10 F>
double pO2(const Readings& r, std::size_t i, double tau)
{
    return F(tau, r.temp[i], r.tau0_20, r.ksv_20, r.frac_20, r.m_20, r.tc_ksv, r.tc_tau0, r.tc_m,
             r.tc_frac);
}

template <Fn10 F>
double ksv_20(const Readings& r, std::size_t i, double tau)
{
    return F(r.tau0_20, tau, r.pO2[i], r.temp[i], r.frac_20, r.m_20, r.tc_ksv, r.tc_tau0, r.tc_m,
             r.tc_frac);
}

double div_floor(const Readings& r, std::size_t i, double tau) { return tau / r.temp[i]; }

double sqrt_div_floor(const Readings& r, std::size_t i, double tau)
{
    return std::sqrt(tau) / r.temp[i];
}

// A tiny multiple of the last result: makes the next call wait for it
// without changing its inputs measurably.
constexpr double chain = 1e-300;

// Throughput: independent calls over the readings.  Latency (chained):
// each call's lifetime depends on the last result.
template <Call call, bool chained>
void run(benchmark::State& state)
{
    const Readings& r = readings();
    double last = 0;
    for (auto _ : state)
        for (std::size_t i = 0; i < r.n; ++i) {
            if (chained)
                last = call(r, i, r.tau[i] + last * chain);
            else
                benchmark::DoNotOptimize(call(r, i, r.tau[i]));
        }
    benchmark::DoNotOptimize(last);
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * r.n));
}

// Every benchmark on the wall clock; the library's throughput also on two
// threads, where each thread does the whole array.
void register_all()
{
    struct Entry {
        const char* name;
        void (*throughput)(benchmark::State&);
        void (*latency)(benchmark::State&);
        bool threaded;
    };
#define TEVRIND_BENCH(name, call, threaded) \
    {name, run<call, false>, run<call, true>, threaded}
    const Entry entries[] = {
        TEVRIND_BENCH("calc_tau0_20/library", tau0_20<calc_tau0_20>, true),
        TEVRIND_BENCH("calc_tau0_20/out-of-line", tau0_20<plain_calc_tau0_20>, false),
        TEVRIND_BENCH("calc_pO2/library", pO2<calc_pO2>, true),
        TEVRIND_BENCH("calc_pO2/out-of-line", pO2<plain_calc_pO2>, false),
        TEVRIND_BENCH("calc_ksv_20/library", ksv_20<calc_ksv_20>, true),
        TEVRIND_BENCH("calc_ksv_20/out-of-line", ksv_20<plain_calc_ksv_20>, false),
        TEVRIND_BENCH("floor/div", div_floor, false),
        TEVRIND_BENCH("floor/sqrt+div", sqrt_div_floor, false),
    };
#undef TEVRIND_BENCH
    for (const Entry& e : entries) {
        const std::string name = e.name;
        benchmark::internal::Benchmark* b =
            benchmark::RegisterBenchmark((name + "/throughput").c_str(), e.throughput);
        b->UseRealTime();
        if (e.threaded)
            b->Threads(1)->Threads(2);
        benchmark::RegisterBenchmark((name + "/latency").c_str(), e.latency)->UseRealTime();
    }
}

// Collects nanoseconds per item of every run, by name, for the summary.
class Summary : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred)
                continue;
            const auto rate = run.counters.find("items_per_second");
            if (rate == run.counters.end() || rate->second.value <= 0)
                continue;
            // Per item, across all threads together.
            const double ns = 1e9 / rate->second.value;
            std::string name = run.run_name.function_name;
            const std::string key = name + (run.threads > 1 ? "/threads:2" : "");
            auto it = ns_.find(key);
            if (it == ns_.end() || ns < it->second)
                ns_[key] = ns;  // the best of repetitions
        }
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        std::printf("\n%-13s %-10s %12s %15s %7s %10s %9s\n", "function", "mode",
                    "library ns", "out-of-line ns", "ratio", "floor ns", "x floor");
        const char* functions[] = {"calc_tau0_20", "calc_pO2", "calc_ksv_20"};
        for (const char* f : functions) {
            const std::string floor = std::string(f) == "calc_tau0_20" ? "div" : "sqrt+div";
            for (const char* mode : {"throughput", "latency"}) {
                const double lib = get(std::string(f) + "/library/" + mode);
                const double plain = get(std::string(f) + "/out-of-line/" + mode);
                const double fl = get("floor/" + floor + "/" + mode);
                std::printf("%-13s %-10s %12.2f %15.2f %7.3f %10.2f %9.2f  (floor: %s)\n", f,
                            mode, lib, plain, lib / plain, fl, lib / fl, floor.c_str());
            }
        }
        std::printf("\nthroughput on two threads, per call (all threads together)\n");
        for (const char* f : functions) {
            const double one = get(std::string(f) + "/library/throughput");
            const double two = get(std::string(f) + "/library/throughput/threads:2");
            std::printf("%-13s %8.2f ns on 1 thread, %8.2f ns on 2: scaling %.2f of 2\n", f, one,
                        two, one / two);
        }
    }

private:
    double get(const std::string& key) const
    {
        const auto it = ns_.find(key);
        return it == ns_.end() ? NAN : it->second;
    }
    std::map<std::string, double> ns_;
};

}  // namespace

int main(int argc, char** argv)
{
    register_all();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    Summary summary;
    benchmark::RunSpecifiedBenchmarks(&summary);
    benchmark::Shutdown();
    return 0;
}
