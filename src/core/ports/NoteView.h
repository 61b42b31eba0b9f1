#pragma once
#include <memory>
#include <optional>

#include "notes/Countdown.h"
#include "notes/NoteRecord.h"
#include "base/Menu.h"

namespace vq {

struct NotePlace {
  long top = 0;  // twips
  long left = 0;
};

struct NoteSize {
  long width = 0;  // twips
  long height = 0;
};

// One note window on the desktop.
class NoteView {
 public:
  virtual ~NoteView() = default;
  // Shows the note's text in its font and colours at its place, sized to the text, with the
  // countdown line above it when there is one.
  virtual void Present(const Note& note, const std::optional<Countdown>& countdown) = 0;
  // A new countdown line; the window becomes as wide as the wider of its two lines.
  virtual void UpdateCountdown(const Countdown& countdown) = 0;
  virtual void StartCountdownTimer() = 0;
  virtual void SetTopmost(bool topmost) = 0;
  // Below every window, on the desktop itself, where the desktop allows it.
  virtual void SetAttachedToDesktop(bool attached) = 0;
  // The alarm's call for attention: to the front of everything, then back among the others.
  virtual void BringToFront() = 0;
  // Lets the user move the window; returns once the mouse button is released.
  virtual void DragMove() = 0;
  virtual NotePlace Place() const = 0;
  virtual NoteSize Size() const = 0;
  virtual std::optional<MenuCommand> PopupMenu(const Menu& menu) = 0;
};

class NoteBoard;

class NoteViewFactory {
 public:
  virtual ~NoteViewFactory() = default;
  // The view reports presses and timer ticks back to the board.
  virtual std::unique_ptr<NoteView> CreateNoteView(NoteBoard& board) = 0;
};

}  // namespace vq
