#pragma once
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "notes/NoteBoard.h"
#include "ports/Clock.h"
#include "ports/Dialogs.h"
#include "ports/EditorView.h"
#include "ports/NoteFiles.h"
#include "ports/NoteView.h"

namespace vq::test {

// The program folder in memory. Writes can be made to fail, as on a read-only folder or a
// full disk; a failed write leaves the old content, as the real adapter does.
class FakeNoteFiles : public NoteFiles {
 public:
  bool Exists(std::string_view name) const override { return files.contains(std::string(name)); }
  ReadResult Read(std::string_view name) const override {
    auto it = files.find(std::string(name));
    if (it == files.end()) return {ReadStatus::kMissing, ""};
    if (undecodable.contains(it->first)) return {ReadStatus::kUndecodable, ""};
    return {ReadStatus::kOk, it->second};
  }
  bool Write(std::string_view name, std::string_view text) override {
    ++writes;
    if (failWrites) return false;
    files[std::string(name)] = std::string(text);
    return true;
  }
  bool Delete(std::string_view name) override {
    files.erase(std::string(name));
    return true;
  }

  std::map<std::string, std::string> files;
  std::map<std::string, bool> undecodable;
  bool failWrites = false;
  int writes = 0;
};

class FakeClock : public Clock {
 public:
  LocalTime Now() const override { return now; }
  LocalTime now{2026, 12, 7, 12, 0};
};

class FakeDialogs : public Dialogs {
 public:
  void Message(std::string_view text) override { messages.emplace_back(text); }
  bool AskYesNo(std::string_view text) override {
    questions.emplace_back(text);
    return answerYes;
  }
  void Beep() override { ++beeps; }
  std::vector<std::string> messages;
  std::vector<std::string> questions;
  bool answerYes = true;
  int beeps = 0;
};

// A note window that remembers what it was told, as short words in order.
class FakeNoteView : public NoteView {
 public:
  explicit FakeNoteView(std::vector<FakeNoteView*>& live) : live_(live) { live_.push_back(this); }
  ~FakeNoteView() override { std::erase(live_, this); }

  void Present(const Note& n, const std::optional<Countdown>& c) override {
    note = n;
    countdown = c;
    place = {n.top, n.left};
    calls.push_back("present");
  }
  void UpdateCountdown(const Countdown& c) override {
    countdown = c;
    calls.push_back("countdown");
  }
  void StartCountdownTimer() override { calls.push_back("timer"); }
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
    if (dragTo) place = *dragTo;
  }
  NotePlace Place() const override { return place; }
  NoteSize Size() const override { return size; }
  std::optional<MenuCommand> PopupMenu(const Menu& menu) override {
    shownMenu = menu;
    calls.push_back("popup");
    return menuChoice;
  }

  Note note;
  std::optional<Countdown> countdown;
  NotePlace place;
  NoteSize size{1500, 400};
  std::optional<NotePlace> dragTo;
  bool topmost = false;
  bool attached = false;
  Menu shownMenu;
  std::optional<MenuCommand> menuChoice;
  std::vector<std::string> calls;

 private:
  std::vector<FakeNoteView*>& live_;
};

class FakeNoteViews : public NoteViewFactory {
 public:
  std::unique_ptr<NoteView> CreateNoteView(NoteBoard&) override { return std::make_unique<FakeNoteView>(live); }
  std::vector<FakeNoteView*> live;  // in creation order
};

// The editor window: what it was shown with, and what the user typed since.
class FakeEditorView : public EditorView {
 public:
  explicit FakeEditorView(FakeEditorView*& live) : live_(live) { live_ = this; }
  ~FakeEditorView() override {
    if (live_ == this) live_ = nullptr;
  }
  void Show(const EditorContent& c, const EditorPlacement& p) override {
    content = c;
    placement = p;
    place = {p.top, p.left};
  }
  EditorContent Content() const override { return content; }
  NotePlace Place() const override { return place; }
  void Close() override { closed = true; }

  EditorContent content;
  EditorPlacement placement;
  NotePlace place;
  bool closed = false;

 private:
  FakeEditorView*& live_;
};

class FakeEditorViews : public EditorViewFactory {
 public:
  std::unique_ptr<EditorView> CreateEditorView(NoteEditing&) override {
    ++created;
    return std::make_unique<FakeEditorView>(live);
  }
  FakeEditorView* live = nullptr;
  int created = 0;
};

// A record file's text from its values.
inline std::string RecordText(const std::vector<std::string>& values) {
  std::string text;
  for (const auto& v : values) text += "\"" + v + "\"\r\n";
  return text;
}

inline std::vector<std::string> SampleRecord(const std::string& visible = "True", const std::string& layer = "False") {
  return {
      "ＭＳ Ｐゴシック", "9", "False", "False", "&HFFFFFF", "&H0", visible, "2400", "6000", "", "", "", "", "", layer};
}

}  // namespace vq::test
