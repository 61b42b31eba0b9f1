#include "mail/settings/MailSchedule.h"

#include "mail/text/MailNumbers.h"

namespace vq::mail {

void MailSchedule::SwitchPeriodicCheck(bool on) {
  periodic_ = on;
  if (on)
    timers_.Start(TimerId::kPeriodicMail, kMinute);
  else
    timers_.Stop(TimerId::kPeriodicMail);
}

bool MailSchedule::CountMinute(std::string_view interval) {
  const std::int64_t minutes = LeadingNumber(minuteCounter_) + 1;
  minuteCounter_ = std::to_string(minutes);
  const std::optional<std::int64_t> due = WholeNumber(interval);
  if (!due || *due <= 0 || minutes < *due) return false;
  ResetMinuteCounter();
  return true;
}

}  // namespace vq::mail
