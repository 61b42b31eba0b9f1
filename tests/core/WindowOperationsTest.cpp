#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "fakes/FakeDesktop.h"
#include "fakes/FakeDialogs.h"
#include "fakes/FakeProfileFile.h"
#include "fakes/FakeTimers.h"
#include "windows/WindowMessages.h"
#include "windows/WindowOperations.h"

namespace vq::windows {
namespace {

using Requests = std::vector<std::string>;
using Titles = std::vector<std::string>;

// Answers the close-all question, and lets a test act while it is open (it is modal, and
// the rest of the program goes on meanwhile).
class ScriptedDialogs : public test::FakeDialogs {
 public:
  bool AskYesNo(std::string_view text) override {
    if (whileAsking) whileAsking();
    return test::FakeDialogs::AskYesNo(text);
  }
  std::function<void()> whileAsking;
};

// Three application windows, Editor in front, and windows that are never touched: the program
// manager, a tool palette owned by Editor, a hidden window.
struct Bench {
  explicit Bench(bool watch = false) {
    profile.Set("a1", "b6", watch ? "1" : "0");
    desktop.Open("Program Manager", "Progman").facts.minimisable = false;
    desktop.Open("Hidden").facts.visible = false;
    desktop.Open("Terminal");
    desktop.Open("Mail");
    auto& palette = desktop.Open("Palette");
    palette.facts.owned = true;
    palette.facts.minimisable = false;
    desktop.Open("Editor");
  }
  void Tick(TimerId id) {
    ASSERT_TRUE(timers.Runs(id));
    ops.OnTimer(id);
  }
  void TickUntilStops(TimerId id) {
    for (int i = 0; i < 50 && timers.Runs(id); ++i) ops.OnTimer(id);
  }
  std::set<TimerId> Running() const {
    std::set<TimerId> out;
    for (const auto& [id, every] : timers.running) out.insert(id);
    return out;
  }

  test::FakeDesktop desktop;
  test::FakeTimers timers;
  ScriptedDialogs dialogs;
  test::FakeProfileFile profile;
  Config config{profile};
  WindowOperations ops{desktop, timers, dialogs, config};
};

constexpr TimerId kWatch = TimerId::kWatchNewWindow;
constexpr TimerId kMinimiseNew = TimerId::kMinimiseNewWindow;
constexpr TimerId kRestoreNew = TimerId::kRestoreNewWindow;

TEST(WindowOperationsTest, WatchedAndMinimisableWindows) {
  struct Case {
    const char* what;
    TopLevelWindow window;
    bool watched;
    bool minimisable;
  };
  auto app = [](auto change) {
    TopLevelWindow w{WindowId{1}, true, false, "Title", "App", false, true};
    change(w);
    return w;
  };
  const Case cases[] = {
      {"application window", app([](auto&) {}), true, true},
      {"invisible", app([](auto& w) { w.visible = false; }), false, false},
      {"owned", app([](auto& w) { w.owned = true; }), false, true},
      {"untitled", app([](auto& w) { w.title.clear(); }), false, true},
      {"program manager", app([](auto& w) { w.className = "Progman"; }), false, true},
      {"class starting Progman", app([](auto& w) { w.className = "ProgmanX"; }), false, true},
      {"class in other case", app([](auto& w) { w.className = "progman"; }), true, true},
      {"class shorter than Progman", app([](auto& w) { w.className = "Prog"; }), true, true},
      {"already minimised", app([](auto& w) { w.minimised = true; }), true, false},
      {"no minimise box or taskbar button", app([](auto& w) { w.minimisable = false; }), true, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsWatchedWindow(c.window), c.watched) << c.what;
    EXPECT_EQ(IsMinimisableNow(c.window), c.minimisable) << c.what;
  }
}

// Every row of the double-click state table: a bench brought into a state, one event, and the
// state, timers and requests to the desktop that follow.
TEST(WindowOperationsTest, DoubleClickStateTable) {
  using Step = std::function<void(Bench&)>;
  Step doubleClick = [](Bench& b) { b.ops.ToggleFromDoubleClick(); };
  Step watching = doubleClick;
  Step newWindowFound = [&](Bench& b) {
    doubleClick(b);
    b.desktop.Open("New");
    b.Tick(kWatch);
  };
  Step newWindowDown = [&](Bench& b) {
    newWindowFound(b);
    b.Tick(kMinimiseNew);  // asks
    b.Tick(kMinimiseNew);  // finds it down
  };
  Step nothing = [](Bench&) {};
  struct Case {
    const char* what;
    bool watch;
    Step before;
    Step event;
    bool minimisedByDoubleClick;
    std::set<TimerId> timers;
    Requests requests;
  };
  const Requests minimiseAll = {"minimise Editor", "minimise Mail", "minimise Terminal"};
  const Requests restoreAll = {"restore Terminal", "restore Mail", "restore Editor"};
  const Case cases[] = {
      {"0: double-click without watch", false, nothing, doubleClick, true, {}, minimiseAll},
      {"0: double-click with watch", true, nothing, doubleClick, true, {kWatch}, minimiseAll},
      {"1, watch: same count", true, watching, [](Bench& b) { b.Tick(kWatch); }, true, {kWatch}, {}},
      {"1, watch: one opened, one closed is the same count",
       true,
       watching,
       [](Bench& b) {
         b.desktop.Vanish("Mail");
         b.desktop.Open("New");
         b.Tick(kWatch);
       },
       true,
       {kWatch},
       {}},
      {"1, watch: a new window",
       true,
       watching,
       [](Bench& b) {
         b.desktop.Open("New");
         b.Tick(kWatch);
       },
       true,
       {kMinimiseNew},
       restoreAll},
      {"1, watch: a window closed, nothing new",
       true,
       watching,
       [](Bench& b) {
         b.desktop.Vanish("Mail");
         b.Tick(kWatch);
       },
       true,
       {},
       {"restore Terminal", "restore Editor"}},
      {"1, minimise step: not down yet",
       true,
       newWindowFound,
       [](Bench& b) { b.Tick(kMinimiseNew); },
       true,
       {kMinimiseNew},
       {"minimise New"}},
      {"1, minimise step: down",
       true,
       [&](Bench& b) {
         newWindowFound(b);
         b.Tick(kMinimiseNew);
       },
       [](Bench& b) { b.Tick(kMinimiseNew); },
       true,
       {kRestoreNew},
       {}},
      {"1, restore step", true, newWindowDown, [](Bench& b) { b.Tick(kRestoreNew); }, false, {}, {"front New"}},
      {"1, watch: double-click", true, watching, doubleClick, false, {}, restoreAll},
      {"1, minimise step: double-click restores the new window too",
       true,
       [&](Bench& b) {
         newWindowFound(b);
         b.Tick(kMinimiseNew);
       },
       doubleClick,
       false,
       {},
       {"restore New"}},
      {"1, restore step: double-click leaves the step running",
       true,
       newWindowDown,
       doubleClick,
       false,
       {kRestoreNew},
       {"restore New"}},
      {"1, watch: menu minimise all", true, watching, [](Bench& b) { b.ops.MinimiseAll(); }, true, {kWatch}, {}},
      {"1, watch: menu restore", true, watching, [](Bench& b) { b.ops.RestoreAll(); }, true, {kWatch}, restoreAll},
      {"1, watch: close all answered No",
       true,
       watching,
       [](Bench& b) {
         b.dialogs.answerYes = false;
         b.ops.CloseAll();
       },
       true,
       {kWatch},
       restoreAll},
      {"0: menu minimise all", true, nothing, [](Bench& b) { b.ops.MinimiseAll(); }, false, {}, minimiseAll},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Bench b(c.watch);
    c.before(b);
    b.desktop.requests.clear();
    c.event(b);
    EXPECT_EQ(b.ops.MinimisedByDoubleClick(), c.minimisedByDoubleClick);
    EXPECT_EQ(b.Running(), c.timers);
    EXPECT_EQ(b.desktop.requests, c.requests);
    for (const auto& [id, every] : b.timers.running) EXPECT_EQ(every, WindowOperations::kTick);
  }
}

TEST(WindowOperationsTest, WatchFindsTheNewWindowAndBringsItForward) {
  Bench b(true);
  b.ops.ToggleFromDoubleClick();
  ASSERT_EQ(b.ops.Snapshot().size(), 3u);  // Editor, Mail, Terminal: nothing else is watched
  b.desktop.Open("New");
  b.desktop.Open("Untitled").facts.title.clear();  // not watched: cannot be the new window
  b.TickUntilStops(kWatch);
  EXPECT_EQ(b.ops.NewWindow(), b.desktop.Id("New"));
  b.TickUntilStops(kMinimiseNew);
  b.TickUntilStops(kRestoreNew);
  EXPECT_EQ(b.desktop.Order(),
            (Titles{"New", "Editor", "Mail", "Terminal", "Untitled", "Palette", "Hidden", "Program Manager"}));
  EXPECT_FALSE(b.ops.MinimisedByDoubleClick());
  EXPECT_TRUE(b.ops.Snapshot().empty());
  EXPECT_TRUE(b.ops.LatestWatch().empty());
  EXPECT_TRUE(b.Running().empty());
  // The watch reads "b6" at the double-click, exactly "1".
  b.profile.Set("a1", "b6", "1 ");
  b.ops.ToggleFromDoubleClick();
  EXPECT_TRUE(b.Running().empty());
}

// A new window that never reports minimised must not keep the program asking for ever: after
// the last request the restore step follows.
TEST(WindowOperationsTest, NewWindowThatNeverGoesDown) {
  struct Case {
    const char* what;
    std::function<void(test::FakeDesktop&)> spoil;
    int requests;
    Requests restoreStep;
  };
  const Case cases[] = {
      {"refuses", [](auto& d) { d.Find("New")->refusesMinimise = true; }, 10, {"front New"}},
      {"hung", [](auto& d) { d.Find("New")->hung = true; }, 10, {"front New"}},
      {"gone", [](auto& d) { d.Vanish("New"); }, 0, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Bench b(true);
    b.ops.ToggleFromDoubleClick();
    b.desktop.Open("New");
    b.Tick(kWatch);
    c.spoil(b.desktop);
    b.desktop.requests.clear();
    int ticks = 0;
    for (; b.timers.Runs(kMinimiseNew) && ticks < 50; ++ticks) b.ops.OnTimer(kMinimiseNew);
    EXPECT_EQ(ticks, c.requests + 1);
    EXPECT_EQ(b.desktop.requests, Requests(c.requests, "minimise New"));
    b.desktop.requests.clear();
    b.Tick(kRestoreNew);
    EXPECT_EQ(b.desktop.requests, c.restoreStep);
    EXPECT_FALSE(b.ops.MinimisedByDoubleClick());
    EXPECT_TRUE(b.Running().empty());
  }
}

// The undo brings back exactly what minimise all put down and is still down, front window last.
TEST(WindowOperationsTest, UndoRestoresWhatItMinimised) {
  struct Case {
    const char* what;
    std::function<void(Bench&)> between;
    Requests restores;
    Titles order;  // of these windows, front to back, afterwards
  };
  const Titles original = {"Editor", "Mail", "Terminal"};
  const Case cases[] = {
      {"all still down", [](Bench&) {}, {"restore Terminal", "restore Mail", "restore Editor"}, original},
      {"one restored by hand",
       [](Bench& b) { b.desktop.Find("Mail")->facts.minimised = false; },
       {"restore Terminal", "restore Editor"},
       {}},
      {"one closed", [](Bench& b) { b.desktop.Vanish("Mail"); }, {"restore Terminal", "restore Editor"}, {}},
      {"minimised by hand before, stays down",
       [](Bench& b) {
         b.ops.RestoreAll();
         b.desktop.requests.clear();
         b.desktop.Find("Mail")->facts.minimised = true;
         b.ops.MinimiseAll();
       },
       {"restore Terminal", "restore Editor"},
       {}},
      {"minimise all again after a new window: both come back",
       [](Bench& b) {
         b.desktop.Open("New");
         b.ops.MinimiseAll();
       },
       {"restore Terminal", "restore Mail", "restore Editor", "restore New"},
       {"New", "Editor", "Mail", "Terminal"}},
      {"undo twice", [](Bench& b) { b.ops.RestoreAll(); }, {}, original},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Bench b;
    b.ops.MinimiseAll();
    c.between(b);
    b.desktop.requests.clear();
    b.ops.RestoreAll();
    EXPECT_EQ(b.desktop.requests, c.restores);
    Titles order;
    for (const auto& title : b.desktop.Order())
      if (std::find(c.order.begin(), c.order.end(), title) != c.order.end()) order.push_back(title);
    EXPECT_EQ(order, c.order);
    EXPECT_TRUE(b.ops.Remembered().empty());
  }
}

TEST(WindowOperationsTest, CloseAll) {
  using Set = std::set<std::string>;
  struct Case {
    const char* what;
    bool yes;
    std::function<void(Bench&)> before;
    std::function<void(Bench&)> whileAsking;
    Set closes;
    Set down;  // afterwards, of the windows left
  };
  const Set closed = {"close Done", "close Stubborn", "close Editor", "close Mail", "close Terminal"};
  const Case cases[] = {
      {"No restores what was minimised", false, nullptr, nullptr, {}, {"Done"}},
      {"Yes closes watched windows that are down", true, nullptr, nullptr, closed, {"Untitled", "Stubborn"}},
      {"a window gone while asking",
       true,
       nullptr,
       [](Bench& b) { b.desktop.Vanish("Editor"); },
       {"close Done", "close Stubborn", "close Mail", "close Terminal"},
       {"Untitled", "Stubborn"}},
      {"a double-click restores while asking",
       true,
       [](Bench& b) { b.ops.ToggleFromDoubleClick(); },
       [](Bench& b) { b.ops.ToggleFromDoubleClick(); },
       {"close Done"},
       {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Bench b;
    b.desktop.Open("Done").facts.minimised = true;  // minimised by the user before
    b.desktop.Open("Stubborn").refusesClose = true;
    b.desktop.Open("Stuck").refusesMinimise = true;
    b.desktop.Open("Hung").hung = true;
    b.desktop.Open("Untitled").facts.title.clear();
    if (c.before) c.before(b);
    b.dialogs.answerYes = c.yes;
    if (c.whileAsking) b.dialogs.whileAsking = [&] { c.whileAsking(b); };
    b.ops.CloseAll();
    EXPECT_EQ(b.dialogs.questions, std::vector<std::string>{std::string(kCloseAllQuestion)});
    Set closes, down;
    for (const auto& r : b.desktop.requests)
      if (r.starts_with("close")) closes.insert(r);
    for (const auto& title : b.desktop.Order())
      if (b.desktop.Down(title)) down.insert(title);
    EXPECT_EQ(closes, c.closes);
    EXPECT_EQ(down, c.down);
    for (const auto& r : c.closes) {
      if (r != "close Stubborn") {
        EXPECT_EQ(b.desktop.Find(r.substr(6)), nullptr) << r;
      }
    }
  }
}

}  // namespace
}  // namespace vq::windows
