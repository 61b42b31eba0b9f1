#pragma once
#include <chrono>
#include <memory>
#include <optional>
#include <string>

#include "base/Menu.h"
#include "base/Twips.h"
#include "notes/NoteRecord.h"
#include "ports/Dialogs.h"

namespace vq::notes {

enum class MouseButton { kLeft, kRight, kOther };

// The line above a note with an alarm, as the window draws it.
struct CountdownLine {
  std::string caption;
  bool red = false;  // once the alarm came, until the note is rebuilt
  bool operator==(const CountdownLine&) const = default;
};

// One note window on the desktop.
class NoteView : public BoxOwner {
 public:
  virtual ~NoteView() = default;
  // Shows the note's text in its font and colours at its place, sized to the text, with the
  // countdown line above it when there is one.
  virtual void Present(const Note& note, const std::optional<CountdownLine>& countdown) = 0;
  // A new countdown line; the window becomes as wide as the wider of its two lines.
  virtual void UpdateCountdown(const CountdownLine& countdown) = 0;
  // Ticks arrive as NoteEvents::OnCountdownTick until the window goes.
  virtual void StartCountdownTimer(std::chrono::milliseconds every) = 0;
  virtual void SetTopmost(bool topmost) = 0;
  // Below every window, on the desktop itself, where the desktop allows it.
  virtual void SetAttachedToDesktop(bool attached) = 0;
  // The alarm's call for attention: to the front of everything, then back among the others.
  virtual void BringToFront() = 0;
  // Lets the user move the window; returns once the mouse button is released.
  virtual void DragMove() = 0;
  // Where the user has moved the window to, or nothing while it stands where Present put it
  // (which may differ from the saved place when that lies off every monitor).
  virtual std::optional<WindowPlace> MovedTo() const = 0;
  virtual WindowSize Size() const = 0;
  virtual std::optional<MenuCommand> PopupMenu(const Menu& menu) = 0;
};

// What a note window reports: presses and countdown ticks.
class NoteEvents {
 public:
  virtual ~NoteEvents() = default;
  virtual void OnNotePress(NoteView& view, MouseButton button) = 0;
  virtual void OnCountdownTick(NoteView& view) = 0;
};

class NoteViewFactory {
 public:
  virtual ~NoteViewFactory() = default;
  virtual std::unique_ptr<NoteView> CreateNoteView(NoteEvents& events) = 0;
};

}  // namespace vq::notes
