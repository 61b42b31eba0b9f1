#pragma once
#include <chrono>

#include "base/TimerId.h"

namespace vq {

// The hidden main window's timers. A tick arrives as a call on the resident shell, on the
// user-interface thread, never while another event is being handled.
class Timers {
 public:
  virtual ~Timers() = default;
  // Starts the timer, or restarts it with the new interval when it runs.
  virtual void Start(TimerId id, std::chrono::milliseconds every) = 0;
  // Stopping a timer that does not run does nothing.
  virtual void Stop(TimerId id) = 0;
};

}  // namespace vq
