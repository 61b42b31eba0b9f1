#pragma once
#include <memory>
#include <optional>

#include "base/Twips.h"
#include "notes/NoteRecord.h"
#include "ports/Dialogs.h"

namespace vq::editor {

// What the editor holds: the text in its font and colours, and the alarm row (shown exactly
// when the alarm is set).
struct EditorContent {
  std::string text;
  NoteFont font;
  std::uint32_t backColor = 0xFFFFFF;
  std::uint32_t foreColor = 0;
  notes::NoteAlarm alarm;
  bool operator==(const EditorContent&) const = default;
};

struct EditorPlacement {
  long top = 0, left = 0;  // twips
  // Outer size in twips when a large note needs more room than the editor's own size.
  std::optional<long> width, height;
};

class NoteEditing;

class EditorView : public BoxOwner {
 public:
  virtual ~EditorView() = default;
  virtual void Show(const EditorContent& content, const EditorPlacement& placement) = 0;
  virtual EditorContent Content() const = 0;
  // Where the user moved the editor to; nullopt while it stands where Show put it.
  virtual std::optional<WindowPlace> MovedTo() const = 0;
  // The alarm row shows the alarm, or goes when it is cleared.
  virtual void SetAlarm(const notes::NoteAlarm& alarm) = 0;
  // The timer dialog stands in for the editor while it is open.
  virtual void Hide() = 0;
  virtual void ShowAgain() = 0;
  // Closes the window without asking the editing back for anything.
  virtual void Close() = 0;
};

// "タイマー設定", opened from the editor at the editor's place.
class TimerDialogView : public BoxOwner {
 public:
  virtual ~TimerDialogView() = default;
  virtual void Open(const notes::NoteAlarm& alarm, const WindowPlace& place) = 0;
  // The alarm as the dialog's fields hold it.
  virtual notes::NoteAlarm Alarm() const = 0;
  virtual void Close() = 0;
};

class EditorViewFactory {
 public:
  virtual ~EditorViewFactory() = default;
  virtual std::unique_ptr<EditorView> CreateEditorView(NoteEditing& editing) = 0;
  virtual std::unique_ptr<TimerDialogView> CreateTimerDialogView(NoteEditing& editing) = 0;
};

}  // namespace vq::editor
