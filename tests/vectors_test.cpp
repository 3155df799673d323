// Every committed reference case, checked bit for bit (NaN as a class: its
// sign and payload are not portable).  TEVRIND_VECTORS names another file of
// the same format, to run a freshly generated set.

#include <tevrind.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Case {
    int line;
    std::vector<double> args;
    double result;
};

double from_bits(std::uint64_t bits)
{
    double d;
    std::memcpy(&d, &bits, sizeof d);
    return d;
}

std::uint64_t to_bits(double d)
{
    std::uint64_t bits;
    std::memcpy(&bits, &d, sizeof bits);
    return bits;
}

std::string describe(double d)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%016llx (%.17g)",
                  static_cast<unsigned long long>(to_bits(d)), d);
    return buf;
}

std::string vectors_path()
{
    const char* env = std::getenv("TEVRIND_VECTORS");
    return env && *env ? env : TEVRIND_VECTORS_FILE;
}

// The file, by function name; a line that does not parse fails the load.
struct Vectors {
    std::map<std::string, std::vector<Case>> cases;
    std::string error;
};

const Vectors& vectors()
{
    static const Vectors loaded = [] {
        Vectors v;
        const std::string path = vectors_path();
        std::ifstream in(path);
        if (!in) {
            v.error = "cannot open " + path;
            return v;
        }
        std::string text;
        for (int line = 1; std::getline(in, text); ++line) {
            if (text.empty() || text[0] == '#')
                continue;
            std::istringstream fields(text);
            std::string name, hex;
            fields >> name;
            std::vector<double> values;
            while (fields >> hex) {
                char* end = nullptr;
                const unsigned long long bits = std::strtoull(hex.c_str(), &end, 16);
                if (hex.size() != 16 || *end != '\0') {
                    v.error = path + ":" + std::to_string(line) + ": bad field " + hex;
                    return v;
                }
                values.push_back(from_bits(bits));
            }
            const bool known = name == "calc_tau0_20" || name == "calc_pO2" ||
                               name == "calc_ksv_20";
            const std::size_t arity = name == "calc_tau0_20" ? 3 : 10;
            if (!known || values.size() != arity + 1) {
                v.error = path + ":" + std::to_string(line) + ": not a case of one of the three functions";
                return v;
            }
            const double result = values.back();
            values.pop_back();
            v.cases[name].push_back({line, values, result});
        }
        return v;
    }();
    return loaded;
}

double call(const std::string& name, const std::vector<double>& a)
{
    if (name == "calc_tau0_20")
        return calc_tau0_20(a[0], a[1], a[2]);
    if (name == "calc_pO2")
        return calc_pO2(a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7], a[8], a[9]);
    return calc_ksv_20(a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7], a[8], a[9]);
}

bool same(double got, double want)
{
    return (std::isnan(got) && std::isnan(want)) || to_bits(got) == to_bits(want);
}

class ReferenceVectors : public testing::TestWithParam<const char*> {};

TEST_P(ReferenceVectors, EveryCaseBitForBit)
{
    const Vectors& v = vectors();
    ASSERT_EQ(v.error, "");
    const std::string name = GetParam();
    const auto found = v.cases.find(name);
    ASSERT_NE(found, v.cases.end()) << "no cases for " << name << " in " << vectors_path();

    int failures = 0;
    for (const Case& c : found->second) {
        const double got = call(name, c.args);
        if (same(got, c.result))
            continue;
        if (++failures <= 10) {
            std::string args;
            for (double a : c.args)
                args += "\n    " + describe(a);
            ADD_FAILURE() << vectors_path() << ":" << c.line << ": " << name << args
                          << "\n  returned " << describe(got)
                          << "\n  expected " << describe(c.result);
        }
    }
    EXPECT_EQ(failures, 0) << "of " << found->second.size() << " cases";
}

INSTANTIATE_TEST_SUITE_P(Functions, ReferenceVectors,
                         testing::Values("calc_tau0_20", "calc_pO2", "calc_ksv_20"),
                         [](const testing::TestParamInfo<const char*>& info) {
                             return std::string(info.param);
                         });

}  // namespace
