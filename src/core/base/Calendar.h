#pragma once

namespace vq {

// The Gregorian rule.
constexpr bool IsLeapYear(int year) { return year % 400 == 0 || (year % 4 == 0 && year % 100 != 0); }

}  // namespace vq
