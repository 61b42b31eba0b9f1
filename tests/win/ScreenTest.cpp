#include <gtest/gtest.h>
#include <windows.h>

#include "win/base/Dpi.h"
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

}  // namespace
}  // namespace vq::win
