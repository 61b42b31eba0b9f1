#pragma once
#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "ports/Desktop.h"

namespace vq::test {

// A desktop of top-level windows in z-order (front first). Requests take effect at once unless
// the window refuses them or is hung; as on Windows, a minimised window drops to the back and a
// restored one comes to the front. Every request is recorded as "<word> <title opened with>".
class FakeDesktop : public Desktop {
 public:
  struct Window {
    TopLevelWindow facts;
    bool refusesMinimise = false;
    bool refusesClose = false;
    bool hung = false;  // answers nothing
  };

  // A visible, unowned, minimisable application window, added at the front.
  Window& Open(const std::string& title, const std::string& className = "App") {
    Window w;
    w.facts.id = static_cast<WindowId>(nextId_++);
    w.facts.visible = true;
    w.facts.title = title;
    w.facts.className = className;
    w.facts.minimisable = true;
    names_[w.facts.id] = title;
    windows.insert(windows.begin(), w);
    return windows.front();
  }
  void Vanish(const std::string& title) {
    std::erase_if(windows, [&](const Window& w) { return names_[w.facts.id] == title; });
  }
  // By the title it was opened with (a test may empty the title afterwards).
  Window* Find(const std::string& title) {
    for (auto& w : windows)
      if (names_[w.facts.id] == title) return &w;
    return nullptr;
  }
  const std::string& Name(const Window& w) { return names_[w.facts.id]; }
  // Titles front to back.
  std::vector<std::string> Order() const {
    std::vector<std::string> out;
    for (const auto& w : windows) out.push_back(names_.at(w.facts.id));
    return out;
  }

  std::vector<TopLevelWindow> TopLevelWindows() const override {
    std::vector<TopLevelWindow> out;
    for (const auto& w : windows) out.push_back(w.facts);
    return out;
  }
  void Minimise(WindowId id) override {
    Window* w = Request("minimise", id);
    if (!w || w->refusesMinimise || w->facts.minimised) return;
    w->facts.minimised = true;
    MoveToBack(id);
  }
  void Restore(WindowId id) override {
    Window* w = Request("restore", id);
    if (!w) return;
    w->facts.minimised = false;
    MoveToFront(id);
  }
  void BringToFront(WindowId id) override {
    Window* w = Request("front", id);
    if (!w) return;
    w->facts.minimised = false;
    MoveToFront(id);
  }
  void PostClose(WindowId id) override {
    Window* w = Request("close", id);
    if (!w || w->refusesClose) return;
    std::erase_if(windows, [id](const Window& x) { return x.facts.id == id; });
  }
  bool IsMinimised(WindowId id) const override {
    const Window* w = Get(id);
    return w && w->facts.minimised;
  }
  bool Exists(WindowId id) const override { return Get(id) != nullptr; }
  MonitorId MonitorUnderPointer() const override { return pointerMonitor; }

  std::vector<Window> windows;  // front to back
  std::vector<std::string> requests;
  MonitorId pointerMonitor{};  // every window is on monitor 0 unless a test moves it

 private:
  const Window* Get(WindowId id) const {
    for (const auto& w : windows)
      if (w.facts.id == id) return &w;
    return nullptr;
  }
  // Records the request; the window when it exists and answers.
  Window* Request(const std::string& word, WindowId id) {
    Window* w = const_cast<Window*>(Get(id));
    requests.push_back(word + " " + names_[id]);
    return w && !w->hung ? w : nullptr;
  }
  void MoveToFront(WindowId id) {
    auto it = std::find_if(windows.begin(), windows.end(), [id](const Window& w) { return w.facts.id == id; });
    std::rotate(windows.begin(), it, it + 1);
  }
  void MoveToBack(WindowId id) {
    auto it = std::find_if(windows.begin(), windows.end(), [id](const Window& w) { return w.facts.id == id; });
    std::rotate(it, it + 1, windows.end());
  }

  int nextId_ = 1;
  std::map<WindowId, std::string> names_;  // titles as opened, also of windows gone since
};

}  // namespace vq::test
