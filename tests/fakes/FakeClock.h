#pragma once
#include "ports/Clock.h"

namespace vq::test {

class FakeClock : public Clock {
 public:
  LocalTime Now() const override { return now; }
  LocalTime now{2026, 12, 7, 12, 0};
};

}  // namespace vq::test
