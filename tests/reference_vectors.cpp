#include "reference_vectors.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

namespace reference {

const char* const function_names[3] = {"calc_tau0_20", "calc_pO2", "calc_ksv_20"};

namespace {

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

Vectors load()
{
    Vectors v;
    const char* env = std::getenv("TEVRIND_VECTORS");
    v.path = env && *env ? env : TEVRIND_VECTORS_FILE;
    std::ifstream in(v.path);
    if (!in) {
        v.error = "cannot open " + v.path;
        return v;
    }
    std::string text;
    for (int line = 1; std::getline(in, text); ++line) {
        if (text.empty() || text[0] == '#')
            continue;
        const std::string where = v.path + ":" + std::to_string(line) + ": ";
        std::istringstream fields(text);
        std::string name, hex;
        fields >> name;
        std::vector<double> values;
        while (fields >> hex) {
            char* end = nullptr;
            const unsigned long long bits = std::strtoull(hex.c_str(), &end, 16);
            if (hex.size() != 16 || *end != '\0') {
                v.error = where + "bad field " + hex;
                return v;
            }
            values.push_back(from_bits(bits));
        }
        const bool known = name == "calc_tau0_20" || name == "calc_pO2" || name == "calc_ksv_20";
        const std::size_t arity = name == "calc_tau0_20" ? 3 : 10;
        if (!known || values.size() != arity + 1) {
            v.error = where + "not a case of one of the three functions";
            return v;
        }
        const double result = values.back();
        values.pop_back();
        v.cases[name].push_back({line, values, result});
    }
    return v;
}

}  // namespace

const Vectors& vectors()
{
    static const Vectors loaded = load();
    return loaded;
}

bool same(double got, double want)
{
    return (std::isnan(got) && std::isnan(want)) || to_bits(got) == to_bits(want);
}

std::string describe(double d)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%016llx (%.17g)",
                  static_cast<unsigned long long>(to_bits(d)), d);
    return buf;
}

}  // namespace reference
