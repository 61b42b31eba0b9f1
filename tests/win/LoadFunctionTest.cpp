#include <gtest/gtest.h>
#include <windows.h>

#include "win/base/LoadFunction.h"

namespace vq::win {
namespace {

// vq_planted.dll lies beside this program: the ordinary search finds it there, the program's
// loader of system functions does not, and still finds the system's own DLLs.
TEST(LoadFunction, TakesDllsFromTheSystemFolderOnly) {
  HMODULE beside = LoadLibraryW(L"vq_planted.dll");
  ASSERT_NE(beside, nullptr);
  FreeLibrary(beside);
  EXPECT_EQ(LoadFunction<FARPROC>(L"vq_planted.dll", "Planted"), nullptr);
  EXPECT_NE(LoadFunction<FARPROC>(L"shcore.dll", "GetDpiForMonitor"), nullptr);
}

}  // namespace
}  // namespace vq::win
