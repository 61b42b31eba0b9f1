#pragma once

namespace vq {

inline constexpr int kTwipsPerInch = 1440;

// Where a window's outer top-left corner is, and how large it is, in twips.
struct WindowPlace {
  long top = 0;
  long left = 0;
  bool operator==(const WindowPlace&) const = default;
};
struct WindowSize {
  long width = 0;
  long height = 0;
  bool operator==(const WindowSize&) const = default;
};

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
