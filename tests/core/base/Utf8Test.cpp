#include <gtest/gtest.h>

#include "base/Utf8.h"

namespace vq {
namespace {

TEST(Utf8, FirstCharactersCountCharactersNotBytes) {
  EXPECT_EQ(FirstCharacters("あいうえおかきくけ", 7), "あいうえおかき");
  EXPECT_EQ(FirstCharacters("abＣ", 7), "abＣ");
  EXPECT_EQ(FirstCharacters("aあb", 2), "aあ");
  EXPECT_EQ(FirstCharacter(""), "");
  EXPECT_EQ(FirstCharacter("C:\\"), "C");
}

}  // namespace
}  // namespace vq
