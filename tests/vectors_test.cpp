// Every reference case through the C functions, bit for bit, and through the
// C++ interface, which must give the same bits.

#include "reference_vectors.h"

#include <tevrind.h>
#include <tevrind.hpp>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using Call = std::function<double(const std::string& name, const std::vector<double>& a)>;

double c_call(const std::string& name, const std::vector<double>& a)
{
    if (name == "calc_tau0_20")
        return calc_tau0_20(a[0], a[1], a[2]);
    if (name == "calc_pO2")
        return calc_pO2(a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7], a[8], a[9]);
    return calc_ksv_20(a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7], a[8], a[9]);
}

// The same case through tevrind::Sensor, its constants set by name.
double cpp_call(const std::string& name, const std::vector<double>& a)
{
    tevrind::Sensor s{};
    if (name == "calc_tau0_20") {
        s.constants.tc_tau0 = a[2];
        return s.calibrate_zero(a[0], a[1]);
    }
    s.constants = {a[4], a[5], a[6], a[7], a[8], a[9]};
    if (name == "calc_pO2") {
        s.tau0_20 = a[2];
        s.ksv_20 = a[3];
        return s.pO2(a[0], a[1]);
    }
    s.tau0_20 = a[0];
    return s.calibrate(a[1], a[2], a[3]);
}

void check_every_case(const std::string& name, const Call& call)
{
    const reference::Vectors& v = reference::vectors();
    ASSERT_EQ(v.error, "");
    const auto found = v.cases.find(name);
    ASSERT_NE(found, v.cases.end()) << "no cases for " << name << " in " << v.path;

    int failures = 0;
    for (const reference::Case& c : found->second) {
        const double got = call(name, c.args);
        if (reference::same(got, c.result))
            continue;
        if (++failures <= 10) {
            std::string args;
            for (double a : c.args)
                args += "\n    " + reference::describe(a);
            ADD_FAILURE() << v.path << ":" << c.line << ": " << name << args
                          << "\n  returned " << reference::describe(got)
                          << "\n  expected " << reference::describe(c.result);
        }
    }
    EXPECT_EQ(failures, 0) << "of " << found->second.size() << " cases";
}

class ReferenceVectors : public testing::TestWithParam<const char*> {};

TEST_P(ReferenceVectors, CFunctionsBitForBit) { check_every_case(GetParam(), c_call); }

TEST_P(ReferenceVectors, CppSensorGivesTheSameBits) { check_every_case(GetParam(), cpp_call); }

INSTANTIATE_TEST_SUITE_P(Functions, ReferenceVectors, testing::ValuesIn(reference::function_names),
                         [](const testing::TestParamInfo<const char*>& info) {
                             return std::string(info.param);
                         });

}  // namespace
