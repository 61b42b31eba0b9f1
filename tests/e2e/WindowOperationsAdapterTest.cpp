// The desktop adapter against real windows of another process: what it reads of each kind of
// window, and that its requests arrive without ever waiting for the window.
#include <gtest/gtest.h>

#include <chrono>
#include <map>

#include "Driver.h"
#include "Zoo.h"
#include "win/windows/WinDesktop.h"
#include "fakes/FakeDialogs.h"
#include "fakes/FakeProfileFile.h"
#include "fakes/FakeTimers.h"
#include "windows/WindowOperations.h"

namespace e2e {
namespace {

using vq::TimerId;
using vq::TopLevelWindow;
using vq::WindowId;
using vq::windows::WindowOperations;

WindowId Id(HWND window) { return static_cast<WindowId>(reinterpret_cast<std::uintptr_t>(window)); }

// Requests to other programs' windows must return at once, whatever the window does.
constexpr Millis kNoWait = 500ms;

template <typename F>
Millis TimeOf(F&& f) {
  auto start = std::chrono::steady_clock::now();
  f();
  return std::chrono::duration_cast<Millis>(std::chrono::steady_clock::now() - start);
}

// The real desktop narrowed to one program's windows, so that the operations under test leave
// everything else on the test display alone.
class OneProgramDesktop : public vq::win::WinDesktop {
 public:
  explicit OneProgramDesktop(DWORD pid) : pid_(pid) {}
  std::vector<TopLevelWindow> TopLevelWindows() const override {
    std::vector<TopLevelWindow> out;
    for (auto& w : WinDesktop::TopLevelWindows()) {
      DWORD pid = 0;
      GetWindowThreadProcessId(reinterpret_cast<HWND>(static_cast<std::uintptr_t>(w.id)), &pid);
      if (pid == pid_) out.push_back(std::move(w));
    }
    return out;
  }

 private:
  DWORD pid_;
};

TEST(WindowOperationsAdapterTest, ReadsEveryKindOfWindow) {
  Zoo zoo({L"app=動物園", L"untitled=Untitled", L"owned=Owned", L"hidden=Hidden", L"progman=Manager", L"tool=Tool",
           L"fixed=Fixed", L"hung=Hung"});
  ASSERT_TRUE(zoo.WaitFor(L"Hung"));
  ASSERT_TRUE(zoo.WaitFor(L"Fixed"));
  struct Case {
    const wchar_t* title;
    const wchar_t* className;
    bool visible, owned;
    const char* readTitle;
    bool watched, minimisable;
  };
  const Case cases[] = {
      {L"動物園", L"VqZoo.app", true, false, "動物園", true, true},
      {L"", L"VqZoo.untitled", true, false, "", false, true},
      {L"Owned", L"VqZoo.owned", true, true, "Owned", false, false},
      {L"Hidden", L"VqZoo.hidden", false, false, "Hidden", false, false},
      {L"Manager", L"Progman", true, false, "Manager", false, true},
      {L"Tool", L"VqZoo.tool", true, false, "Tool", true, false},
      {L"Fixed", L"VqZoo.fixed", true, false, "Fixed", true, false},
      {L"Hung", L"VqZoo.hung", true, false, "Hung", true, true},
  };
  vq::win::WinDesktop desktop;
  std::vector<TopLevelWindow> windows;
  // The hung window's caption is read without asking it.
  EXPECT_LT(TimeOf([&] { windows = desktop.TopLevelWindows(); }), kNoWait);
  std::map<WindowId, TopLevelWindow> byId;
  for (const auto& w : windows) byId[w.id] = w;
  for (const auto& c : cases) {
    SCOPED_TRACE(Narrow(c.className));
    HWND handle = zoo.Find(c.title, c.className);
    ASSERT_NE(handle, nullptr);
    ASSERT_EQ(byId.count(Id(handle)), 1u);
    const auto& w = byId[Id(handle)];
    EXPECT_EQ(w.visible, c.visible);
    EXPECT_EQ(w.owned, c.owned);
    EXPECT_EQ(w.title, c.readTitle);
    EXPECT_EQ(w.className, Narrow(c.className));
    EXPECT_FALSE(w.minimised);
    EXPECT_EQ(vq::windows::IsWatchedWindow(w), c.watched);
    EXPECT_EQ(vq::windows::IsMinimisableNow(w), c.minimisable);
  }
}

TEST(WindowOperationsAdapterTest, RequestsArriveWithoutWaiting) {
  Zoo zoo({L"app=Plain", L"nominimise=Stays", L"noclose=Stubborn", L"hung=Hung"});
  HWND plain = zoo.WaitFor(L"Plain"), stays = zoo.WaitFor(L"Stays"), stubborn = zoo.WaitFor(L"Stubborn"),
       hung = zoo.WaitFor(L"Hung");
  ASSERT_TRUE(plain && stays && stubborn && hung);
  vq::win::WinDesktop desktop;

  EXPECT_LT(TimeOf([&] {
              for (HWND w : {plain, stays, hung}) desktop.Minimise(Id(w));
            }),
            kNoWait);
  EXPECT_TRUE(WaitUntil([&] { return desktop.IsMinimised(Id(plain)); }));
  EXPECT_TRUE(zoo.WaitForLog("minimise Stays"));
  EXPECT_FALSE(desktop.IsMinimised(Id(stays)));
  EXPECT_FALSE(desktop.IsMinimised(Id(hung)));

  desktop.Restore(Id(plain));
  EXPECT_TRUE(WaitUntil([&] { return !desktop.IsMinimised(Id(plain)); }));
  EXPECT_TRUE(zoo.WaitForLog("restore Plain"));

  desktop.Minimise(Id(plain));
  ASSERT_TRUE(WaitUntil([&] { return desktop.IsMinimised(Id(plain)); }));
  EXPECT_LT(TimeOf([&] { desktop.BringToFront(Id(plain)); }), kNoWait);
  EXPECT_TRUE(WaitUntil([&] { return !desktop.IsMinimised(Id(plain)) && GetForegroundWindow() == plain; }));
  EXPECT_LT(TimeOf([&] { desktop.BringToFront(Id(hung)); }), kNoWait);

  EXPECT_LT(TimeOf([&] {
              for (HWND w : {plain, stubborn, hung}) desktop.PostClose(Id(w));
            }),
            kNoWait);
  EXPECT_TRUE(WaitUntil([&] { return !desktop.Exists(Id(plain)); }));
  EXPECT_TRUE(zoo.WaitForLog("close Stubborn"));
  EXPECT_TRUE(desktop.Exists(Id(stubborn)));
  EXPECT_TRUE(desktop.Exists(Id(hung)));
  EXPECT_FALSE(desktop.IsMinimised(Id(plain)));  // gone: not minimised, and no error
}

// Minimise all, a new window opening while everything is down, and the watch bringing it
// forward, with the program's timers played by the test at their interval.
TEST(WindowOperationsAdapterTest, WatchBringsTheNewWindowForward) {
  Zoo zoo({L"app=Back", L"app=Front", L"--after=1500", L"app=New"});
  HWND back = zoo.WaitFor(L"Back"), front = zoo.WaitFor(L"Front");
  ASSERT_TRUE(back && front);
  OneProgramDesktop desktop(zoo.Pid());
  vq::test::FakeTimers timers;
  vq::test::FakeDialogs dialogs;
  vq::test::FakeProfileFile profile;
  profile.Set("a1", "b6", "1");
  vq::Config config(profile);
  WindowOperations ops(desktop, timers, dialogs, config);

  ops.ToggleFromDoubleClick();
  EXPECT_TRUE(WaitUntil([&] { return desktop.IsMinimised(Id(back)) && desktop.IsMinimised(Id(front)); }));
  ASSERT_TRUE(timers.Runs(TimerId::kWatchNewWindow));
  for (int tick = 0; tick < 100 && !timers.running.empty(); ++tick) {
    Sleep(static_cast<DWORD>(WindowOperations::kTick.count()));
    auto running = timers.running;
    for (const auto& [id, every] : running) ops.OnTimer(id);
  }
  HWND fresh = zoo.Find(L"New");
  ASSERT_NE(fresh, nullptr);
  EXPECT_TRUE(timers.running.empty());
  EXPECT_FALSE(ops.MinimisedByDoubleClick());
  EXPECT_TRUE(WaitUntil(
      [&] { return !IsIconic(back) && !IsIconic(front) && !IsIconic(fresh) && GetForegroundWindow() == fresh; }));
  // Back to their order, with the new window in front of them.
  std::vector<std::wstring> order;
  for (const auto& w : TopLevelWindows(zoo.Pid()))
    if (w.visible) order.push_back(w.text);
  EXPECT_EQ(order, (std::vector<std::wstring>{L"New", L"Front", L"Back"}));
  auto log = zoo.Log();
  EXPECT_NE(std::find(log.begin(), log.end(), "minimise New"), log.end());
  EXPECT_NE(std::find(log.begin(), log.end(), "restore New"), log.end());
}

}  // namespace
}  // namespace e2e
