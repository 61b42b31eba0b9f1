#pragma once
#include <chrono>
#include <functional>
#include <utility>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "notes/NoteBoard.h"
#include "notes/NoteView.h"

namespace vq::test {

// A note window that remembers what it was told, as short words in order. The drag and the
// popup menu are modal: duringDrag and duringPopup run while they are open.
class FakeNoteView : public notes::NoteView {
 public:
  explicit FakeNoteView(std::vector<FakeNoteView*>& live) : live_(live) { live_.push_back(this); }
  ~FakeNoteView() override { std::erase(live_, this); }

  void Present(const notes::Note& n, const std::optional<notes::CountdownLine>& c) override {
    note = n;
    countdown = c;
    moved.reset();
    calls.push_back("present");
  }
  void UpdateCountdown(const notes::CountdownLine& c) override {
    countdown = c;
    calls.push_back("countdown");
  }
  void StartCountdownTimer(std::chrono::milliseconds every) override {
    tick = every;
    calls.push_back("timer");
  }
  void SetTopmost(bool on) override {
    topmost = on;
    calls.push_back(on ? "topmost" : "notopmost");
  }
  void SetAttachedToDesktop(bool on) override {
    attached = on;
    calls.push_back(on ? "attach" : "detach");
  }
  void BringToFront() override { calls.push_back("front"); }
  void DragMove() override {
    calls.push_back("drag");
    if (duringDrag) std::exchange(duringDrag, nullptr)();
    if (dragTo) moved = *dragTo;
  }
  std::optional<WindowPlace> MovedTo() const override { return moved; }
  WindowSize Size() const override { return size; }
  std::optional<MenuCommand> PopupMenu(const Menu& menu) override {
    shownMenu = menu;
    calls.push_back("popup");
    if (duringPopup) std::exchange(duringPopup, nullptr)();
    return menuChoice;
  }

  notes::Note note;
  std::optional<notes::CountdownLine> countdown;
  std::optional<std::chrono::milliseconds> tick;
  std::optional<WindowPlace> moved;  // where the user moved the window, once they have
  WindowSize size{1500, 400};
  std::optional<WindowPlace> dragTo;
  bool topmost = false;
  bool attached = false;
  Menu shownMenu;
  std::optional<MenuCommand> menuChoice;
  std::vector<std::string> calls;
  std::function<void()> duringDrag, duringPopup;

 private:
  std::vector<FakeNoteView*>& live_;
};

class FakeNoteViews : public notes::NoteViewFactory {
 public:
  std::unique_ptr<notes::NoteView> CreateNoteView(notes::NoteEvents&) override {
    return std::make_unique<FakeNoteView>(live);
  }
  std::vector<FakeNoteView*> live;  // in creation order
};

// Stands in for the shell when a board is tested alone: a note-menu choice goes back to the
// board, and "編集" is only counted.
class BoardEvents : public notes::NoteEvents {
 public:
  void OnNotePress(notes::NoteView& view, notes::MouseButton button) override {
    if (auto chosen = board->OnPress(view, button)) {
      if (*chosen == MenuCommand::kNoteEdit)
        ++editRequests;
      else
        board->OnCommand(*chosen);
    }
  }
  void OnCountdownTick(notes::NoteView& view) override { board->OnCountdownTick(view); }

  notes::NoteBoard* board = nullptr;
  int editRequests = 0;
};

}  // namespace vq::test
