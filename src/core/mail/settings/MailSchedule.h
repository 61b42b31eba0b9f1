#pragma once
#include <chrono>
#include <string>
#include <string_view>

#include "ports/Timers.h"

namespace vq::mail {

// When mail is checked by itself, and whether a check runs now. One owner for the periodic
// switch, the minute counter and the busy flag, which the tray, the options dialog and the
// mail check all read and change.
class MailSchedule {
 public:
  static constexpr std::chrono::minutes kMinute{1};

  explicit MailSchedule(Timers& timers) : timers_(timers) {}

  // The minute timer runs exactly when the interval is neither "0" nor empty.
  void SwitchPeriodicCheck(bool on);
  bool PeriodicCheckEnabled() const { return periodic_; }

  // Minutes since the last check, as decimal text; every check started sets it to "0".
  const std::string& MinuteCounter() const { return minuteCounter_; }
  void ResetMinuteCounter() { minuteCounter_ = "0"; }
  void SetMinuteCounter(std::string counter) { minuteCounter_ = std::move(counter); }
  // One more minute has passed. True when the interval (minutes as typed, "5" or "05") is due;
  // the counter then starts again from "0". An interval that is not a positive number never
  // falls due. A counter already past the interval (it was shortened) is due at once.
  [[nodiscard]] bool CountMinute(std::string_view interval);

  // True while a POP3 session runs: a second session only beeps, and the program refuses to
  // close.
  bool Busy() const { return busy_; }
  void SetBusy(bool busy) { busy_ = busy; }
  // The options dialog opened: a check left marked as running no longer counts as one, as it has
  // always been. A session that still runs goes on; the driver starts no second one beside it.
  void OptionsOpened() { busy_ = false; }

 private:
  Timers& timers_;
  bool periodic_ = false;
  bool busy_ = false;
  std::string minuteCounter_ = "0";
};

}  // namespace vq::mail
