// Every program and library we ship carries the one project version in its version resource,
// as Windows shows it in a file's properties and as setup's upgrade compares it.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "hx_version.h"
#include "hxsim/win/sim_client.h"

namespace {

std::string StringValue(const std::vector<char>& info, const char* name) {
  void* value = nullptr;
  UINT size = 0;
  const std::string path = std::string("\\StringFileInfo\\040904b0\\") + name;
  if (!VerQueryValueA(info.data(), path.c_str(), &value, &size) || !value) return "(none)";
  return static_cast<const char*>(value);
}

std::string Dotted(DWORD high, DWORD low) {
  return std::to_string(HIWORD(high)) + "." + std::to_string(LOWORD(high)) + "." + std::to_string(HIWORD(low)) + "." +
         std::to_string(LOWORD(low));
}

TEST(VersionResources, EveryShippedFileCarriesTheProjectVersion) {
  const char* list = std::getenv("HX_VERSIONED_FILES");  // '|' between the files
  ASSERT_NE(list, nullptr);
  std::stringstream files(list);
  int checked = 0;
  for (std::string file; std::getline(files, file, '|');) {
    SCOPED_TRACE(file);
    const std::string path = WindowsPath(file);
    const std::string name = path.substr(path.find_last_of("\\/") + 1);
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    ASSERT_NE(size, 0u) << "no version resource";
    std::vector<char> info(size);
    ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, info.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixedSize = 0;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &fixedSize));
    EXPECT_EQ(Dotted(fixed->dwFileVersionMS, fixed->dwFileVersionLS), HX_VERSION_TEXT);
    EXPECT_EQ(Dotted(fixed->dwProductVersionMS, fixed->dwProductVersionLS), HX_VERSION_TEXT);
    const bool library = name.size() > 4 && name.substr(name.size() - 4) == ".dll";
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(library ? VFT_DLL : VFT_APP));
    EXPECT_EQ(StringValue(info, "FileVersion"), HX_VERSION_TEXT);
    EXPECT_EQ(StringValue(info, "ProductVersion"), HX_VERSION_TEXT);
    EXPECT_EQ(StringValue(info, "ProductName"), "Quellan Mouse");
    EXPECT_EQ(StringValue(info, "CompanyName"), "Korvath");
    EXPECT_EQ(StringValue(info, "OriginalFilename"), name);
    ++checked;
  }
  EXPECT_GT(checked, 0);
}

}  // namespace
