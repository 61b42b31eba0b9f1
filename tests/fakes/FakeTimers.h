#pragma once
#include <chrono>
#include <map>
#include <utility>
#include <vector>

#include "ports/Timers.h"

namespace vq::test {

// The running timers and their intervals; a test ticks them by calling the owner itself.
class FakeTimers : public Timers {
 public:
  void Start(TimerId id, std::chrono::milliseconds every) override {
    running[id] = every;
    startedAt[id] = now;
    history.emplace_back(id, true);
  }
  void Stop(TimerId id) override {
    running.erase(id);
    history.emplace_back(id, false);
  }
  bool Runs(TimerId id) const { return running.count(id) != 0; }
  bool Due(TimerId id) const { return Runs(id) && now - startedAt.at(id) >= running.at(id); }
  // Every start (true) and stop (false) of one timer, in order.
  std::vector<bool> Switches(TimerId id) const {
    std::vector<bool> out;
    for (const auto& [timer, on] : history)
      if (timer == id) out.push_back(on);
    return out;
  }

  std::map<TimerId, std::chrono::milliseconds> running, startedAt;
  std::chrono::milliseconds now{0};  // moved on by the test
  std::vector<std::pair<TimerId, bool>> history;
};

}  // namespace vq::test
