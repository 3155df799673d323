// The committed reference cases, for the suites that check results bit for
// bit.  TEVRIND_VECTORS names another file of the same format, to run a
// freshly generated set.
#ifndef TEVRIND_TESTS_REFERENCE_VECTORS_H
#define TEVRIND_TESTS_REFERENCE_VECTORS_H

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace reference {

struct Case {
    int line;
    std::vector<double> args;  // in the C function's order
    double result;
};

struct Vectors {
    std::string path;
    std::map<std::string, std::vector<Case>> cases;  // by function name
    std::string error;                               // empty once loaded
};

// The file, loaded once; a line that does not parse leaves an error.
const Vectors& vectors();

// The same bits, or both NaN (NaN's sign and payload are not portable).
bool same(double got, double want);

// "hex bits (value)", for failure messages.
std::string describe(double d);

// The names of the three functions, for parameterised suites.
extern const char* const function_names[3];

}  // namespace reference

#endif
