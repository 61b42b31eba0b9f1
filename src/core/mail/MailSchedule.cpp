#include "mail/MailSchedule.h"

namespace vq::mail {

void MailSchedule::SwitchPeriodicCheck(bool on) {
  periodic_ = on;
  if (on)
    timers_.Start(TimerId::kPeriodicMail, kMinute);
  else
    timers_.Stop(TimerId::kPeriodicMail);
}

}  // namespace vq::mail
