// Loading and unloading the library, as a host does at run time, leaves the
// host's floating-point environment as it was.  A library linked with
// fast-math start-up code would switch the whole process to flushing
// subnormals to zero the moment it is loaded.
//
// This program is not linked against the library, so that the load happens
// here, between the two looks at the environment.

#include <gtest/gtest.h>

#include <cfenv>
#include <cfloat>
#include <cstdint>

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif
#if defined(__x86_64__) || defined(_M_X64) || defined(__i386__)
#include <xmmintrin.h>
#endif

namespace {

// The control part of the floating-point unit's state: rounding, flushing
// and exception masks, without the sticky exception flags.
std::uint64_t fp_control()
{
#if defined(__x86_64__) || defined(_M_X64) || defined(__i386__)
    return _mm_getcsr() & ~0x3Fu;
#elif defined(__aarch64__)
    std::uint64_t fpcr;
    __asm__ volatile("mrs %0, fpcr" : "=r"(fpcr));
    return fpcr;
#else
    return static_cast<std::uint64_t>(std::fegetround());
#endif
}

// Subnormals survive arithmetic: neither flushed on output nor read as zero.
bool subnormals_work()
{
    volatile double smallest_normal = DBL_MIN;
    volatile double subnormal = DBL_MIN / 4;
    volatile double halved = smallest_normal / 2;
    volatile double doubled = subnormal * 2;
    return halved != 0.0 && doubled != 0.0;
}

typedef double (*tau0_20_fn)(double, double, double);

class Library {
public:
    Library()
    {
#ifdef _WIN32
        handle_ = LoadLibraryA(TEVRIND_LIBRARY_FILE);
        if (handle_)
            tau0_20_ = reinterpret_cast<tau0_20_fn>(
                reinterpret_cast<void (*)()>(GetProcAddress(handle_, "calc_tau0_20")));
#else
        handle_ = dlopen(TEVRIND_LIBRARY_FILE, RTLD_NOW | RTLD_LOCAL);
        if (handle_)
            tau0_20_ = reinterpret_cast<tau0_20_fn>(dlsym(handle_, "calc_tau0_20"));
#endif
    }
    ~Library() { close(); }
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;

    bool loaded() const { return handle_ && tau0_20_; }
    double calc_tau0_20(double tau0, double temp, double tc) const { return tau0_20_(tau0, temp, tc); }
    bool close()
    {
        if (!handle_)
            return true;
#ifdef _WIN32
        const bool ok = FreeLibrary(handle_) != 0;
#else
        const bool ok = dlclose(handle_) == 0;
#endif
        handle_ = nullptr;
        return ok;
    }

private:
#ifdef _WIN32
    HMODULE handle_ = nullptr;
#else
    void* handle_ = nullptr;
#endif
    tau0_20_fn tau0_20_ = nullptr;
};

TEST(Loading, LeavesTheFloatingPointEnvironmentAlone)
{
    ASSERT_TRUE(subnormals_work()) << "the test program itself flushes subnormals";
    const std::uint64_t before = fp_control();
    const int rounding = std::fegetround();

    Library lib;
    ASSERT_TRUE(lib.loaded()) << "cannot load " << TEVRIND_LIBRARY_FILE;
    EXPECT_EQ(fp_control(), before);
    EXPECT_TRUE(subnormals_work());

    EXPECT_EQ(lib.calc_tau0_20(54, 10, 0.01), 60.0);
    EXPECT_EQ(fp_control(), before);
    EXPECT_EQ(std::fegetround(), rounding);

    EXPECT_TRUE(lib.close());
    EXPECT_EQ(fp_control(), before);
    EXPECT_TRUE(subnormals_work());
}

}  // namespace
