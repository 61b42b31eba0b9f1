#include <gtest/gtest.h>
#include <windows.h>

#include "win/base/Dpi.h"
#include "win/base/LoadFunction.h"
#include "win/base/Screen.h"

namespace vq::win {
namespace {

// The layout asked once answers as the window system does, on a monitor, at its edges and off
// every monitor (where it asks afresh).
TEST(MonitorLayout, AnswersAsTheWindowSystemDoes) {
  MonitorLayout layout;
  RECT work;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const POINT points[] = {{0, 0}, {work.right - 1, work.bottom - 1}, {work.right + 5, 10}, {-3000, -3000}, {40, 90000}};
  for (int round = 0; round < 2; ++round) {
    for (POINT p : points) {
      EXPECT_EQ(layout.DpiForPoint(p), DpiForPoint(p)) << p.x << "," << p.y;
      for (SIZE size : {SIZE{120, 40}, SIZE{1, 1}}) {
        POINT kept = layout.KeepVisible(p, size), live = KeepVisible(p, size);
        EXPECT_TRUE(kept.x == live.x && kept.y == live.y) << p.x << "," << p.y << " " << size.cx;
      }
    }
    layout.Forget();
  }
}

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
