#include <gtest/gtest.h>

#include "config/Settings.h"

namespace vq {
namespace {

// A window's place reads as strtod reads a decimal number, rounded to whole twips; hex is not one.
// Exactly: hundreds of digits or an exponent past a double's range are the number they write.
TEST(Settings, WindowPlacesReadTheirLeadingDecimalNumber) {
  const std::string zeros(400, '0');
  const std::pair<std::string, std::optional<long>> rows[] = {{"1440", 1440},
                                                              {" \t-300", -300},
                                                              {"+12.5", 13},
                                                              {".5", 1},
                                                              {"12abc", 12},
                                                              {"1e3", 1000},
                                                              {"1e", 1},
                                                              {"1e-1", 0},
                                                              {"2.5E+2x", 250},
                                                              {"0x10", 0},
                                                              {"-", std::nullopt},
                                                              {"", std::nullopt},
                                                              {"abc", std::nullopt},
                                                              {".", std::nullopt},
                                                              {"1e8", std::nullopt},
                                                              {"1e99999999999", std::nullopt},
                                                              {"10000000", 10000000},
                                                              {"-10000001", std::nullopt},
                                                              {"0e400", 0},
                                                              {"5000." + zeros, 5000},
                                                              {"1" + zeros + "e-400", 1},
                                                              {"0.49999999999999999999", 0}};
  for (const auto& [text, twips] : rows) EXPECT_EQ(ParseTwipsText(text), twips) << text.substr(0, 40);
}

}  // namespace
}  // namespace vq
