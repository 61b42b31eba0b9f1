#pragma once

namespace vq {

struct LocalTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual LocalTime Now() const = 0;
};

}  // namespace vq
