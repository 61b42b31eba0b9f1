#pragma once
#include <optional>
#include <string>

#include "notes/NoteRecord.h"
#include "ports/Clock.h"

namespace vq::notes {

// The line above a note with an alarm. When the alarm is due or past, the line turns red and
// the note comes to the front.
struct Countdown {
  std::string caption;
  bool due = false;
  bool operator==(const Countdown&) const = default;
};

// The time left until the alarm, field by field with borrowing, as the countdown line says
// it. Nothing when no rule gives a caption (the line then keeps what it showed).
std::optional<Countdown> TimeCal(const NoteAlarm& alarm, const LocalTime& now);

}  // namespace vq::notes
