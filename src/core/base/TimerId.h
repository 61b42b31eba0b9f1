#pragma once

namespace vq {

// The program-wide timers of the hidden main window. Windows that tick for themselves (a
// note's countdown, the timer dialog's clock) keep their own timers; their intervals are
// still decided in the core.
enum class TimerId : int {
  kPeriodicMail = 1,       // minute tick of the periodic mail check
  kMailNextAccount = 2,    // hands a mail check over to the next account
  kMailNoAnswer = 3,       // a mail session that hears nothing for too long ends
  kWatchNewWindow = 4,     // after minimise-all: compares the top-level windows
  kMinimiseNewWindow = 5,  // the new window found by the watch is minimised ...
  kRestoreNewWindow = 6,   // ... and restored, so that it ends in front
  kTrayRetry = 10,         // the shell was not ready for our icon yet
};

}  // namespace vq
