#pragma once
#include <deque>
#include <functional>
#include <utility>
#include <string>
#include <vector>

#include "ports/Dialogs.h"

namespace vq::test {

// Message boxes are modal but let other events through: the during* hooks run while one is
// open, before it is answered.
class FakeDialogs : public Dialogs {
 public:
  void Message(std::string_view text, const BoxOwner* window) override {
    messages.emplace_back(text);
    about.push_back(window);
    if (timeline) timeline->push_back("message " + std::string(text));
    // One event per box, and none from the boxes that event opens.
    if (duringMessage) std::exchange(duringMessage, nullptr)();
  }
  bool AskYesNo(std::string_view text, const BoxOwner* window) override {
    questions.emplace_back(text);
    about.push_back(window);
    if (duringAsk) std::exchange(duringAsk, nullptr)();
    if (answers.empty()) return answerYes;
    bool answer = answers.front();
    answers.pop_front();
    return answer;
  }
  void Beep() override { ++beeps; }

  std::vector<std::string> messages;
  std::vector<std::string> questions;
  std::vector<const BoxOwner*> about;  // the window each box, message or question, was about
  bool answerYes = true;
  std::deque<bool> answers;  // the next questions' answers in turn; then answerYes
  int beeps = 0;
  std::function<void()> duringMessage;           // runs once, in the next message box
  std::function<void()> duringAsk;               // runs once, in the next question
  std::vector<std::string>* timeline = nullptr;  // shared with other fakes to see the order
};

}  // namespace vq::test
