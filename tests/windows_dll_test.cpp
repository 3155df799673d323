// tevrind.dll as a Windows host sees it: each function found by name and by
// ordinal is the same function, and the file describes itself.

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace {

struct Export {
    const char* name;
    WORD ordinal;
};
const Export exports[] = {{"calc_ksv_20", 1}, {"calc_pO2", 2}, {"calc_tau0_20", 3}};

class Dll : public testing::Test {
protected:
    void SetUp() override
    {
        module = LoadLibraryA("tevrind.dll");
        ASSERT_NE(module, nullptr) << "LoadLibrary failed: " << GetLastError();
    }
    void TearDown() override
    {
        if (module) {
            EXPECT_NE(FreeLibrary(module), 0) << "FreeLibrary failed: " << GetLastError();
        }
    }
    HMODULE module = nullptr;
};

TEST_F(Dll, NameAndOrdinalFindTheSameFunction)
{
    for (const Export& e : exports) {
        const FARPROC by_name = GetProcAddress(module, e.name);
        const FARPROC by_ordinal = GetProcAddress(module, MAKEINTRESOURCEA(e.ordinal));
        ASSERT_NE(by_name, nullptr) << e.name;
        EXPECT_EQ(by_name, by_ordinal) << e.name << " is not ordinal " << e.ordinal;
    }
    EXPECT_EQ(GetProcAddress(module, MAKEINTRESOURCEA(4)), nullptr) << "a fourth export";
    EXPECT_EQ(GetProcAddress(module, "DllMain"), nullptr);

    using tau0_20_fn = double (*)(double, double, double);
    const auto by_ordinal = reinterpret_cast<tau0_20_fn>(
        reinterpret_cast<void (*)()>(GetProcAddress(module, MAKEINTRESOURCEA(3))));
    EXPECT_EQ(by_ordinal(54, 10, 0.01), 60.0);
}

std::string version_string(const std::vector<char>& info, const char* key)
{
    char* value = nullptr;
    UINT size = 0;
    const std::string path = std::string("\\StringFileInfo\\040904B0\\") + key;
    if (!VerQueryValueA(info.data(), path.c_str(), reinterpret_cast<void**>(&value), &size) || !size)
        return "";
    return std::string(value);
}

TEST_F(Dll, CarriesItsVersion)
{
    char path[MAX_PATH];
    ASSERT_NE(GetModuleFileNameA(module, path, MAX_PATH), 0u);
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path, &ignored);
    ASSERT_NE(size, 0u) << "no version resource in " << path;
    std::vector<char> info(size);
    ASSERT_NE(GetFileVersionInfoA(path, 0, size, info.data()), 0);

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixed_size = 0;
    ASSERT_NE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &fixed_size), 0);
    EXPECT_EQ(HIWORD(fixed->dwFileVersionMS), TEVRIND_VERSION_MAJOR);
    EXPECT_EQ(LOWORD(fixed->dwFileVersionMS), TEVRIND_VERSION_MINOR);
    EXPECT_EQ(HIWORD(fixed->dwFileVersionLS), TEVRIND_VERSION_PATCH);

    EXPECT_EQ(version_string(info, "OriginalFilename"), "tevrind.dll");
    EXPECT_EQ(version_string(info, "FileVersion"), TEVRIND_VERSION);
    EXPECT_EQ(version_string(info, "ProductName"), "tevrind");
    EXPECT_NE(version_string(info, "FileDescription"), "");
}

}  // namespace
