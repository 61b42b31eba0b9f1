#pragma once
#include <memory>
#include <optional>

#include "editor/EditorView.h"

namespace vq::test {

// The editor window: what it was shown with, and what the user typed since.
class FakeEditorView : public editor::EditorView {
 public:
  explicit FakeEditorView(FakeEditorView*& live) : live_(live) { live_ = this; }
  ~FakeEditorView() override {
    if (live_ == this) live_ = nullptr;
  }
  void Show(const editor::EditorContent& c, const editor::EditorPlacement& p) override {
    content = c;
    placement = p;
  }
  editor::EditorContent Content() const override { return content; }
  std::optional<WindowPlace> MovedTo() const override { return movedTo; }
  void SetAlarm(const notes::NoteAlarm& alarm) override { content.alarm = alarm; }
  void Hide() override { hidden = true; }
  void ShowAgain() override { hidden = false; }
  void Close() override { closed = true; }

  editor::EditorContent content;
  editor::EditorPlacement placement;
  std::optional<WindowPlace> movedTo;  // set by a test as the user's drag
  bool hidden = false;
  bool closed = false;

 private:
  FakeEditorView*& live_;
};

class FakeTimerDialogView : public editor::TimerDialogView {
 public:
  explicit FakeTimerDialogView(FakeTimerDialogView*& live) : live_(live) { live_ = this; }
  ~FakeTimerDialogView() override {
    if (live_ == this) live_ = nullptr;
  }
  void Open(const notes::NoteAlarm& a, const WindowPlace& p) override {
    alarm = a;
    place = p;
  }
  notes::NoteAlarm Alarm() const override { return alarm; }
  void Close() override { closed = true; }

  notes::NoteAlarm alarm;  // the tests set the fields here as the user would
  WindowPlace place;
  bool closed = false;

 private:
  FakeTimerDialogView*& live_;
};

class FakeEditorViews : public editor::EditorViewFactory {
 public:
  std::unique_ptr<editor::EditorView> CreateEditorView(editor::NoteEditing&) override {
    ++created;
    return std::make_unique<FakeEditorView>(live);
  }
  std::unique_ptr<editor::TimerDialogView> CreateTimerDialogView(editor::NoteEditing&) override {
    return std::make_unique<FakeTimerDialogView>(timerDialog);
  }
  FakeEditorView* live = nullptr;
  FakeTimerDialogView* timerDialog = nullptr;
  int created = 0;
};

}  // namespace vq::test
