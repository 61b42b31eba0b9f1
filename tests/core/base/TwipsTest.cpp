#include <gtest/gtest.h>

#include "base/Twips.h"

namespace vq {
namespace {

TEST(Twips, ConvertWithTheMonitorsDpi) {
  EXPECT_EQ(TwipsToPixels(1440, 96), 96);
  EXPECT_EQ(TwipsToPixels(1440, 144), 144);
  EXPECT_EQ(TwipsToPixels(15, 96), 1);
  EXPECT_EQ(TwipsToPixels(4710, 120), 393);  // 392.5 rounds up
  EXPECT_EQ(TwipsToPixels(-4710, 120), -393);
  EXPECT_EQ(PixelsToTwips(96, 96), 1440);
  EXPECT_EQ(PixelsToTwips(100, 144), 1000);
  EXPECT_EQ(PixelsToTwips(-1, 96), -15);
  EXPECT_EQ(PixelsToTwips(5, 0), 0);
  for (int px : {0, 1, 7, 640, 1919}) EXPECT_EQ(TwipsToPixels(PixelsToTwips(px, 120), 120), px);
}

}  // namespace
}  // namespace vq
