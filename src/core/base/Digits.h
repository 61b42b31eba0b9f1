#pragma once
#include <string>
#include <string_view>

namespace vq {

// Numbers as text without the C library's printf: the program's few formatted numbers would
// otherwise link mingw's whole printf and its floating-point conversions (tens of kilobytes).

// Some text, and decimal digits only: no sign, no blanks.
inline bool AllDigits(std::string_view text) {
  return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// As "%0*ld": "-7" at width 3 is "-07".
inline std::string ZeroPadded(long value, int width) {
  unsigned long magnitude = value < 0 ? 0ul - static_cast<unsigned long>(value) : static_cast<unsigned long>(value);
  std::string digits = std::to_string(magnitude);
  int sign = value < 0 ? 1 : 0;
  if (static_cast<int>(digits.size()) + sign < width)
    digits.insert(0, static_cast<size_t>(width - sign) - digits.size(), '0');
  return value < 0 ? "-" + digits : digits;
}

// As "%0*lX".
inline std::string UpperHex(unsigned long value, int width = 1) {
  std::string digits;
  do {
    digits.insert(digits.begin(), "0123456789ABCDEF"[value % 16]);
    value /= 16;
  } while (value != 0);
  if (static_cast<int>(digits.size()) < width) digits.insert(0, static_cast<size_t>(width) - digits.size(), '0');
  return digits;
}

}  // namespace vq
