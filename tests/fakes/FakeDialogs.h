#pragma once
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "ports/Dialogs.h"

namespace vq::test {

// Message boxes that can let an event in while they are open, as a real modal box does.
class FakeModalDialogs : public Dialogs {
 public:
  void Message(std::string_view text) override {
    messages.emplace_back(text);
    if (timeline) timeline->push_back("message " + std::string(text));
    if (whileOpen) {
      auto hook = std::move(whileOpen);  // one event per box, and none from boxes it opens
      whileOpen = nullptr;
      hook();
    }
  }
  bool AskYesNo(std::string_view text) override {
    questions.emplace_back(text);
    return answerYes;
  }
  void Beep() override { ++beeps; }

  std::vector<std::string> messages;
  std::vector<std::string> questions;
  bool answerYes = true;
  int beeps = 0;
  std::function<void()> whileOpen;               // runs inside the next Message
  std::vector<std::string>* timeline = nullptr;  // shared with other fakes to see the order
};

}  // namespace vq::test
