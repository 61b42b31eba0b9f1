#pragma once

namespace vq {

inline constexpr int kTwipsPerInch = 1440;

// Rounded to the nearest pixel or twip, halves away from zero.
constexpr int TwipsToPixels(long twips, int dpi) {
  long long scaled = static_cast<long long>(twips) * dpi;
  return static_cast<int>(scaled >= 0 ? (scaled + kTwipsPerInch / 2) / kTwipsPerInch
                                      : -((-scaled + kTwipsPerInch / 2) / kTwipsPerInch));
}
constexpr long PixelsToTwips(int pixels, int dpi) {
  if (dpi <= 0) return 0;
  long long scaled = static_cast<long long>(pixels) * kTwipsPerInch;
  return static_cast<long>(scaled >= 0 ? (scaled + dpi / 2) / dpi : -((-scaled + dpi / 2) / dpi));
}

}  // namespace vq
