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
  bool AskYesNo(std::string_view text, const BoxOwner* window) override {
    if (whileAsking) whileAsking();
    return test::FakeDialogs::AskYesNo(text, window);
  }
  std::function<void()> whileAsking;
};

// Three application windows, Editor in front, and windows that are never touched: the program
// manager, a tool palette owned by Editor, a hidden window.
struct Bench {
  explicit Bench(const char* watch = "0") {
    profile.Set("a1", "b6", watch);
    desktop.Open("Program Manager", "Progman").facts.minimisable = false;
    desktop.Open("Hidden").facts.visible = false;
    desktop.Open("Away").facts.cloaked = true;  // on another virtual desktop
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

// The kinds of window themselves are read from real windows in the adapter's test; here the
// rules' finer points.
TEST(WindowOperationsTest, WatchedAndMinimisableWindows) {
  struct Case {
    const char* className;
    bool minimised;
    bool watched;
    bool minimisable;
  };
  const Case cases[] = {
      {"Progman", false, false, true}, {"ProgmanX", false, false, true}, {"progman", false, true, true},
      {"Prog", false, true, true},     {"App", true, true, false},
  };
  for (const auto& c : cases) {
    TopLevelWindow w{WindowId{1}, true, false, "Title", c.className, c.minimised, true};
    EXPECT_EQ(IsWatchedWindow(w), c.watched) << c.className;
    EXPECT_EQ(IsMinimisableNow(w), c.minimisable) << c.className;
  }
}

// Every row of the double-click state table: a bench brought into a state, one event, and the
// state, timers and requests to the desktop that follow.
TEST(WindowOperationsTest, DoubleClickStateTable) {
  using Step = std::function<void(Bench&)>;
  auto steps = [](std::vector<Step> list) {
    return [list](Bench& b) {
      for (const auto& step : list) step(b);
    };
  };
  auto open = [](const char* title) { return [=](Bench& b) { b.desktop.Open(title); }; };
  auto vanish = [](const char* title) { return [=](Bench& b) { b.desktop.Vanish(title); }; };
  auto tick = [](TimerId id) { return [=](Bench& b) { b.Tick(id); }; };
  Step nothing = [](Bench&) {};
  Step doubleClick = [](Bench& b) { b.ops.ToggleFromDoubleClick(); };
  Step openUntitled = [](Bench& b) { b.desktop.Open("Untitled").facts.title.clear(); };
  Step cloakedSeen = steps({[](Bench& b) { b.desktop.Open("New").facts.cloaked = true; }, tick(kWatch)});
  Step uncloaked = steps({cloakedSeen, [](Bench& b) { b.desktop.Find("New")->facts.cloaked = false; }, tick(kWatch)});
  Step untitledSeen = steps({openUntitled, tick(kWatch)});
  Step swapSeen = steps({vanish("Mail"), open("New"), tick(kWatch)});
  Step newSeen = steps({open("New"), tick(kWatch)});
  Step closeSeen = steps({vanish("Mail"), tick(kWatch)});
  Step menuMinimise = [](Bench& b) { b.ops.MinimiseAll(); };
  Step menuRestore = [](Bench& b) { b.ops.RestoreAll(); };
  Step closeAllNo = [](Bench& b) {
    b.dialogs.answerYes = false;
    b.ops.CloseAll();
  };
  Step found = steps({doubleClick, newSeen});
  Step asked = steps({found, tick(kMinimiseNew)});
  Step down = steps({asked, tick(kMinimiseNew)});
  Step downThenUp = steps({down, doubleClick, vanish("New")});  // the new window's step still pending
  Step hidOnClose = [](Bench& b) {                              // as tray programs do
    b.desktop.Find("New")->refusesClose = true;
    b.ops.CloseAll();
    b.desktop.Find("New")->facts.visible = false;
  };
  struct Case {
    const char* what;
    const char* watch;  // "b6"
    Step before;
    Step event;
    bool minimisedByDoubleClick;
    std::set<TimerId> timers;
    Requests requests;
  };
  const Requests minimiseAll = {"minimise Editor", "minimise Mail", "minimise Terminal"};
  const Requests restoreAll = {"restore Terminal", "restore Mail", "restore Editor"};
  const Case cases[] = {
      {"0: double-click without watch", "0", nothing, doubleClick, true, {}, minimiseAll},
      {"0: double-click, watch not exactly 1", "1 ", nothing, doubleClick, true, {}, minimiseAll},
      {"0: double-click with watch", "1", nothing, doubleClick, true, {kWatch}, minimiseAll},
      {"0: menu minimise all", "1", nothing, menuMinimise, false, {}, minimiseAll},
      {"1, watch: same count", "1", doubleClick, tick(kWatch), true, {kWatch}, {}},
      {"1, watch: untitled window not counted", "1", doubleClick, untitledSeen, true, {kWatch}, {}},
      {"1, watch: one opened, one closed", "1", doubleClick, swapSeen, true, {kWatch}, {}},
      {"1, watch: new once uncloaked", "1", doubleClick, uncloaked, true, {kMinimiseNew}, restoreAll},
      {"1, watch: a new window", "1", doubleClick, newSeen, true, {kMinimiseNew}, restoreAll},
      {"1, watch: a window closed", "1", doubleClick, closeSeen, true, {}, {"restore Terminal", "restore Editor"}},
      {"1, watch: double-click", "1", doubleClick, doubleClick, false, {}, restoreAll},
      {"1, watch: menu minimise all", "1", doubleClick, menuMinimise, true, {kWatch}, {}},
      {"1, watch: menu restore", "1", doubleClick, menuRestore, true, {kWatch}, restoreAll},
      {"1, watch: close all, No", "1", doubleClick, closeAllNo, true, {kWatch}, restoreAll},
      {"1, minimise step: not down yet", "1", found, tick(kMinimiseNew), true, {kMinimiseNew}, {"minimise New"}},
      {"1, minimise step: down", "1", asked, tick(kMinimiseNew), true, {kRestoreNew}, {}},
      {"1, minimise step: double-click restores it too", "1", asked, doubleClick, false, {}, {"restore New"}},
      {"1, minimise step: hid on close all", "1", steps({asked, hidOnClose, menuMinimise}), doubleClick, false, {}, {}},
      {"1, restore step", "1", down, tick(kRestoreNew), false, {}, {"front New"}},
      {"1, restore step: double-click leaves it", "1", down, doubleClick, false, {kRestoreNew}, {"restore New"}},
      {"1, restore step: a second double-click ends it", "1", downThenUp, doubleClick, true, {kWatch}, minimiseAll},
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
  // After the restore step the double-click starts afresh.
  Bench b("1");
  down(b);
  b.Tick(kRestoreNew);
  EXPECT_TRUE(b.ops.Snapshot().empty() && b.ops.LatestWatch().empty() && !b.ops.NewWindow());
  EXPECT_EQ(b.desktop.Order().front(), "New");
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
    Bench b("1");
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
  using Step = std::function<void(Bench&)>;
  Step restoredByHand = [](Bench& b) { b.desktop.Find("Mail")->facts.minimised = false; };
  Step downBefore = [](Bench& b) {
    b.ops.RestoreAll();
    b.desktop.Find("Mail")->facts.minimised = true;
    b.ops.MinimiseAll();
  };
  Step againAfterNewWindow = [](Bench& b) {
    b.desktop.Open("New");
    b.ops.MinimiseAll();
  };
  Step undo = [](Bench& b) { b.ops.RestoreAll(); };
  Step mailToTray = [](Bench& b) { b.desktop.Find("Mail")->facts.visible = false; };  // hid itself on minimise
  Step closeAllYes = [](Bench& b) {
    for (const char* title : {"Mail", "Terminal", "Editor"}) b.desktop.Find(title)->refusesClose = true;
    b.ops.CloseAll();
    b.desktop.Find("Terminal")->facts.visible = false;  // hid itself instead, as tray programs do
    b.desktop.Find("Editor")->facts.cloaked = true;     // moved to another virtual desktop
  };
  struct Case {
    const char* what;
    Step between;
    Requests restores;
    Titles order;  // of the restored windows, front to back, afterwards
  };
  const Case cases[] = {
      {"all still down, one hidden in the tray",
       mailToTray,
       {"restore Terminal", "restore Mail", "restore Editor"},
       {"Editor", "Mail", "Terminal"}},
      {"one restored by hand", restoredByHand, {"restore Terminal", "restore Editor"}, {"Editor", "Terminal"}},
      {"minimised by hand before stays down",
       downBefore,
       {"restore Terminal", "restore Editor"},
       {"Editor", "Terminal"}},
      {"again after a new window",
       againAfterNewWindow,
       {"restore Terminal", "restore Mail", "restore Editor", "restore New"},
       {"New", "Editor", "Mail", "Terminal"}},
      {"undo twice", undo, {}, {}},
      {"after close all, Yes: what stayed in sight", closeAllYes, {"restore Mail"}, {"Mail"}},
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
  using Step = std::function<void(Bench&)>;
  Step nothing = [](Bench&) {};
  Step doubleClick = [](Bench& b) { b.ops.ToggleFromDoubleClick(); };
  Step editorCloses = [](Bench& b) { b.desktop.Vanish("Editor"); };
  Step awayDown = [](Bench& b) { b.desktop.Find("Away")->facts.minimised = true; };
  struct Case {
    const char* what;
    bool yes;
    Step before, whileAsking;
    Set closes;
    Set down;  // afterwards
  };
  const Set closed = {"close Done", "close Stubborn", "close Editor", "close Mail", "close Terminal"};
  const Set closedButEditor = {"close Done", "close Stubborn", "close Mail", "close Terminal"};
  const Case cases[] = {
      {"No restores what was minimised", false, nothing, nothing, {}, {"Done"}},
      {"Yes closes watched windows that are down", true, nothing, nothing, closed, {"Untitled", "Stubborn"}},
      {"a window gone while asking", true, nothing, editorCloses, closedButEditor, {"Untitled", "Stubborn"}},
      {"one down out of sight is left", true, awayDown, nothing, closed, {"Untitled", "Stubborn", "Away"}},
      {"a double-click restores while asking", true, doubleClick, doubleClick, {"close Done"}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Bench b;
    b.desktop.Open("Done").facts.minimised = true;  // by the user, before
    b.desktop.Open("Stubborn").refusesClose = true;
    b.desktop.Open("Stuck").refusesMinimise = true;
    b.desktop.Open("Hung").hung = true;
    b.desktop.Open("Untitled").facts.title.clear();
    c.before(b);
    b.dialogs.answerYes = c.yes;
    b.dialogs.whileAsking = [&] { c.whileAsking(b); };
    b.ops.CloseAll();
    EXPECT_EQ(b.dialogs.questions, std::vector<std::string>{std::string(kCloseAllQuestion)});
    Set closes, down;
    for (const auto& r : b.desktop.requests)
      if (r.starts_with("close")) closes.insert(r);
    for (const auto& w : b.desktop.windows)
      if (w.facts.minimised) down.insert(b.desktop.Name(w));
    EXPECT_EQ(closes, c.closes);
    EXPECT_EQ(down, c.down);
  }
}

}  // namespace
}  // namespace vq::windows
