// Minimise all, restore, close all and the tray double-click with its watch for a new window,
// driven through the program as a user reaches them, against windows of every kind and sticky
// notes that none of it may touch.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "Driver.h"
#include "NoteFixtures.h"
#include "Zoo.h"
#include "windows/WindowOperations.h"

namespace e2e {
namespace {

// One zoo window: its argument, and how the test names and finds it (the untitled one by its
// class, the rest by title).
struct Kind {
  std::wstring arg;
  std::string name;
  std::wstring title;
  std::wstring className;
};

const Kind kFront{L"app=前面", "前面", L"前面", L""};
const Kind kBack{L"app=Back", "Back", L"Back", L""};
const Kind kUntitled{L"untitled=Untitled", "Untitled", L"", L"VqZoo.untitled"};
const Kind kOwned{L"owned=Owned", "Owned", L"Owned", L""};
const Kind kHidden{L"hidden=Hidden", "Hidden", L"Hidden", L""};
const Kind kManager{L"progman=Manager", "Manager", L"Manager", L"Progman"};
const Kind kTool{L"tool=Tool", "Tool", L"Tool", L""};
const Kind kFixed{L"fixed=Fixed", "Fixed", L"Fixed", L""};
const Kind kStays{L"nominimise=Stays", "Stays", L"Stays", L""};
const Kind kStubborn{L"noclose=Stubborn", "Stubborn", L"Stubborn", L""};
const Kind kBig{L"maximised=Big", "Big", L"Big", L""};
const Kind kHand{L"app=Hand", "Hand", L"Hand", L""};  // the user minimises it before

using Names = std::set<std::string>;

std::vector<std::wstring> ArgsOf(const std::vector<Kind>& kinds) {
  std::vector<std::wstring> args;
  for (const auto& k : kinds) args.push_back(k.arg);
  return args;
}

// A zoo with its windows found once they are all there.
class ZooWindows {
 public:
  explicit ZooWindows(std::vector<Kind> kinds) : kinds_(std::move(kinds)), zoo_(ArgsOf(kinds_)) {
    for (const auto& k : kinds_) handles_[k.name] = zoo_.WaitFor(k.title, k.className);
  }
  HWND operator[](const std::string& name) const { return handles_.at(name); }
  const Zoo& zoo() const { return zoo_; }
  bool AllFound() const {
    return std::all_of(handles_.begin(), handles_.end(), [](const auto& h) { return h.second != nullptr; });
  }
  // The zoo's windows that are minimised now, by name.
  Names Down() const {
    Names down;
    for (const auto& [name, handle] : handles_)
      if (IsIconic(handle)) down.insert(name);
    return down;
  }
  Names Gone() const {
    Names gone;
    for (const auto& [name, handle] : handles_)
      if (!IsWindow(handle)) gone.insert(name);
    return gone;
  }
  // The windows that were asked "minimise", "restore", "close" or "activate", from the
  // `since`th line of the log on.
  Names Asked(const std::string& what, size_t since = 0) const {
    Names asked;
    auto log = zoo_.Log();
    for (size_t i = since; i < log.size(); ++i)
      if (log[i].starts_with(what + " ")) asked.insert(log[i].substr(what.size() + 1));
    return asked;
  }
  size_t LogLines() const { return zoo_.Log().size(); }
  // These windows front to back. A restored window comes up in front of the ones that stayed
  // up, so only the order among the restored ones is kept.
  std::vector<std::string> Order(const Names& among) const {
    std::vector<std::string> order;
    for (const auto& w : TopLevelWindows(zoo_.Pid()))
      for (const auto& [name, handle] : handles_)
        if (handle == w.hwnd && among.count(name)) order.push_back(name);
    return order;
  }

 private:
  std::vector<Kind> kinds_;
  Zoo zoo_;
  std::map<std::string, HWND> handles_;
};

std::string Join(const Names& names) {
  std::string out;
  for (const auto& n : names) out += (out.empty() ? "" : " ") + n;
  return out;
}

// Waits until the zoo's minimised windows are exactly these, and says which they are if not.
::testing::AssertionResult DownAre(const ZooWindows& windows, const Names& expected) {
  if (WaitUntil([&] { return windows.Down() == expected; })) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "minimised: {" << Join(windows.Down()) << "}, expected {" << Join(expected)
                                       << "}";
}

// True when the condition holds all the time, checked every poll (false at its first lapse).
bool StaysFor(Millis time, const std::function<bool()>& condition) {
  return !WaitUntil([&] { return !condition(); }, time);
}

class WindowOperationsTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(TrayIconCount(), 0); }
  void TearDown() override {
    app.reset();
    EXPECT_TRUE(WaitUntil([] { return TrayIconCount() == 0; }));
  }

  // Starts the program with the double-click set to minimise all, the watch as given ("b6"),
  // and a note in each layer: ordinary, always on top, on the desktop. Before the zoo: the
  // note on the desktop would take the zoo's "Progman" window for the desktop's.
  void Start(const char* watch) {
    folder.WriteBytes("Vornquill.ini", ToShiftJis(std::string("[a1]\r\nb5=0\r\nb6=") + watch + "\r\nb7=True\r\n"));
    const char* layers[] = {"False", "True", "0"};
    for (int n = 0; n < 3; ++n)
      WriteNote(folder, n, RecordValues().Set(7, std::to_string(1440 + 1500 * n)).Set(14, layers[n]), "付箋");
    for (const auto& name : folder.Files()) files[name] = *folder.ReadBytes(name);
    app = App::Start(folder);
    ASSERT_TRUE(WaitUntil([&] { return app->VisibleWindows(kNoteClass).size() == 3; }));
    notes = app->VisibleWindows(kNoteClass);
    ExpectNotesUntouched();
  }

  void ChooseDesktopWindowItem(const std::string& item) {
    app->RightPressTrayIcon();
    ASSERT_TRUE(app->WaitForMenu());
    ASSERT_TRUE(app->ChooseMenuItem({"DesktopWindow", item}));
    ASSERT_TRUE(app->WaitForNoMenu());
  }
  void DoubleClick() const { app->SendTrayMouse(WM_LBUTTONDBLCLK); }

  // The notes stay on the desktop as they were: shown, never minimised, still owned by the
  // hidden main window, in their place and layer; and nothing is written.
  void ExpectNotesUntouched() const {
    HWND main = app->MainWindow();
    int topmost = 0;
    for (const auto& note : notes) {
      auto now = DescribeWindow(note.hwnd);
      EXPECT_TRUE(IsWindow(note.hwnd));
      EXPECT_TRUE(now.visible);
      EXPECT_FALSE(IsIconic(note.hwnd));
      EXPECT_EQ(GetWindow(note.hwnd, GW_OWNER), main);
      EXPECT_EQ(now.topmost, note.topmost);
      EXPECT_TRUE(EqualRect(&now.rect, &note.rect));
      topmost += now.topmost;
    }
    EXPECT_EQ(topmost, 1);
    for (const auto& [name, bytes] : files) EXPECT_EQ(folder.ReadBytes(name), bytes) << name;
    EXPECT_EQ(folder.Files().size(), files.size());
  }

  ProgramFolder folder;
  std::unique_ptr<App> app;
  std::vector<WindowInfo> notes;
  std::map<std::string, std::string> files;
};

// This monitor's minimise (Wine's only one) puts down what the taskbar's would: windows with a taskbar button
// and a minimise box, titled or not; its undo brings back exactly those, in their order, and
// leaves a window the user had minimised before where it was.
TEST_F(WindowOperationsTest, MenuMinimisesWhatTheTaskbarWouldAndRestoresExactlyThat) {
  ASSERT_NO_FATAL_FAILURE(Start("1"));
  ZooWindows zoo({kHand, kBack, kFront, kBig, kUntitled, kOwned, kHidden, kManager, kTool, kFixed, kStays});
  ASSERT_TRUE(zoo.AllFound());
  PostMessageW(zoo["Hand"], WM_SYSCOMMAND, SC_MINIMIZE, 0);
  ASSERT_TRUE(DownAre(zoo, {"Hand"}));
  const Names minimised{"前面", "Back", "Big", "Untitled", "Manager"};
  auto order = zoo.Order(minimised);
  auto before = zoo.LogLines();

  ChooseDesktopWindowItem("このモニターだけ最小化");
  EXPECT_TRUE(DownAre(zoo, {"Hand", "前面", "Back", "Big", "Untitled", "Manager"}));
  ASSERT_TRUE(zoo.zoo().WaitForLog("minimise Stays"));
  EXPECT_EQ(zoo.Asked("minimise", before), (Names{"前面", "Back", "Big", "Untitled", "Manager", "Stays"}));
  ExpectNotesUntouched();

  ChooseDesktopWindowItem("元に戻す");
  EXPECT_TRUE(DownAre(zoo, {"Hand"}));
  EXPECT_EQ(zoo.Asked("restore"), minimised);
  WaitUntil([&] { return zoo.Order(minimised) == order; });  // raised just after it comes back
  EXPECT_EQ(zoo.Order(minimised), order);
  EXPECT_TRUE(WaitUntil([&] { return IsZoomed(zoo["Big"]) != FALSE; }));
  ExpectNotesUntouched();
  EXPECT_TRUE(zoo.Gone().empty());
}

// With "b6" "0" the double-click minimises and the next one restores; no watch runs in
// between, so a window opened meanwhile changes nothing.
TEST_F(WindowOperationsTest, DoubleClickWithoutTheWatchTogglesMinimiseAndRestore) {
  ASSERT_NO_FATAL_FAILURE(Start("0"));
  ZooWindows zoo({kBack, kFront, kOwned});
  ASSERT_TRUE(zoo.AllFound());

  DoubleClick();
  EXPECT_TRUE(DownAre(zoo, {"前面", "Back"}));
  ExpectNotesUntouched();
  ZooWindows later({{L"app=Later", "Later", L"Later", L""}});
  ASSERT_TRUE(later.AllFound());
  // Three ticks of a watch would have been enough to restore everything.
  EXPECT_TRUE(StaysFor(1s, [&] { return zoo.Down() == Names{"前面", "Back"}; }));

  DoubleClick();
  EXPECT_TRUE(DownAre(zoo, {}));
  EXPECT_TRUE(later.Down().empty());
  EXPECT_TRUE(later.Asked("minimise").empty());
  EXPECT_TRUE(later.Asked("restore").empty());
  ExpectNotesUntouched();
}

// With the watch on, a program that opens a window while everything is down brings everything
// back, with its window in front, and the double-click is ready to minimise again. A window
// that refuses to go down is asked a few times only and brought forward all the same.
TEST_F(WindowOperationsTest, WatchBringsANewWindowForwardAndTheNextDoubleClickMinimisesAgain) {
  struct Case {
    const wchar_t* arg;
    int minimiseRequests;
    bool maximised;
  };
  const Case cases[] = {
      {L"app=New", 1, false},
      {L"maximised=New", 1, true},
      {L"nominimise=New", vq::windows::WindowOperations::kNewWindowMinimiseRequests, false},
  };
  ASSERT_NO_FATAL_FAILURE(Start("1"));
  ZooWindows zoo({kBack, kFront});
  ASSERT_TRUE(zoo.AllFound());
  for (const auto& c : cases) {
    SCOPED_TRACE(Narrow(c.arg));
    DoubleClick();
    ASSERT_TRUE(DownAre(zoo, {"前面", "Back"}));
    ZooWindows fresh({{c.arg, "New", L"New", L""}});
    ASSERT_TRUE(fresh.AllFound());
    HWND newWindow = fresh["New"];
    // Its activation after the last request to minimise comes from the last step (which may
    // reach it before its restore).
    ASSERT_TRUE(WaitUntil([&] {
      auto log = fresh.zoo().Log();
      auto lastMinimise = std::find(log.rbegin(), log.rend(), "minimise New");
      return lastMinimise != log.rend() && std::find(log.rbegin(), lastMinimise, "activate New") != lastMinimise;
    }));
    auto log = fresh.zoo().Log();
    EXPECT_EQ(std::count(log.begin(), log.end(), "minimise New"), c.minimiseRequests);
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == newWindow; }));
    EXPECT_TRUE(DownAre(zoo, {}));
    EXPECT_TRUE(WaitUntil([&] { return !IsIconic(newWindow); }));
    EXPECT_EQ(IsZoomed(newWindow) != FALSE, c.maximised);
    // In front of the windows restored before it.
    const std::vector<HWND> inFront{newWindow, zoo["前面"], zoo["Back"]};
    std::vector<HWND> order;
    WaitUntil([&] {
      order.clear();
      for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT))
        if (std::find(inFront.begin(), inFront.end(), w) != inFront.end()) order.push_back(w);
      return order == inFront;
    });
    EXPECT_EQ(order, inFront);
    ExpectNotesUntouched();

    DoubleClick();
    EXPECT_TRUE(DownAre(zoo, {"前面", "Back"}));
    if (c.minimiseRequests == 1) {
      EXPECT_TRUE(WaitUntil([&] { return IsIconic(newWindow) != FALSE; }));
    }
    DoubleClick();
    EXPECT_TRUE(DownAre(zoo, {}));
    EXPECT_TRUE(WaitUntil([&] { return !IsIconic(newWindow); }));
  }
  ExpectNotesUntouched();
}

// A minimised window closed while the watch runs brings the rest back but leaves the toggle
// down: the next double-click only restores, the one after minimises.
TEST_F(WindowOperationsTest, WindowClosedDuringTheWatchRestoresAndTheNextDoubleClickOnlyRestores) {
  const Kind closing{L"app=Closing", "Closing", L"Closing", L""};
  ASSERT_NO_FATAL_FAILURE(Start("1"));
  ZooWindows zoo({kBack, kFront, closing});
  ASSERT_TRUE(zoo.AllFound());

  DoubleClick();
  EXPECT_TRUE(DownAre(zoo, {"前面", "Back", "Closing"}));
  PostMessageW(zoo["Closing"], WM_CLOSE, 0, 0);  // as from its taskbar button
  EXPECT_TRUE(WaitUntil([&] { return zoo.Gone() == Names{"Closing"}; }));
  EXPECT_TRUE(DownAre(zoo, {}));
  ExpectNotesUntouched();

  DoubleClick();
  EXPECT_TRUE(StaysFor(1s, [&] { return zoo.Down().empty(); }));
  DoubleClick();
  EXPECT_TRUE(DownAre(zoo, {"前面", "Back"}));
  DoubleClick();
  EXPECT_TRUE(DownAre(zoo, {}));
  ExpectNotesUntouched();
}

// Close all minimises all and asks. No brings back what it minimised; Yes asks the titled,
// unowned windows that are down to close (one the user had minimised before too), and nothing
// else.
TEST_F(WindowOperationsTest, CloseAllAsksFirstAndClosesOnlyWhatIsDown) {
  const Kind plain{L"app=Plain", "Plain", L"Plain", L""};
  ASSERT_NO_FATAL_FAILURE(Start("0"));
  ZooWindows zoo({kHand, plain, kStubborn, kStays, kFixed, kTool, kUntitled, kManager, kOwned, kHidden});
  ASSERT_TRUE(zoo.AllFound());
  PostMessageW(zoo["Hand"], WM_SYSCOMMAND, SC_MINIMIZE, 0);
  ASSERT_TRUE(DownAre(zoo, {"Hand"}));
  const Names minimised{"Plain", "Stubborn", "Untitled", "Manager"};
  auto order = zoo.Order(minimised);

  for (int answer : {IDNO, IDYES}) {
    SCOPED_TRACE(answer == IDYES ? "Yes" : "No");
    ChooseDesktopWindowItem("すべて閉じる");
    auto box = app->WaitForMessageBox();
    ASSERT_TRUE(box);
    EXPECT_EQ(Narrow(box->text), "すべてのウィンドウを閉じますか？");
    EXPECT_EQ(box->title, L"Vornquill2");
    EXPECT_EQ(box->buttons, (std::vector<int>{IDYES, IDNO}));
    EXPECT_FALSE(box->hasIcon);
    EXPECT_TRUE(DownAre(zoo, {"Hand", "Plain", "Stubborn", "Untitled", "Manager"}));
    ExpectNotesUntouched();
    ASSERT_TRUE(PressButton(box->hwnd, answer));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box->hwnd); }));
    if (answer == IDNO) {
      EXPECT_TRUE(DownAre(zoo, {"Hand"}));
      WaitUntil([&] { return zoo.Order(minimised) == order; });  // raised just after it comes back
      EXPECT_EQ(zoo.Order(minimised), order);
      EXPECT_TRUE(zoo.Asked("close").empty());
      EXPECT_TRUE(zoo.Gone().empty());
    } else {
      EXPECT_TRUE(WaitUntil([&] { return zoo.Gone() == Names{"Hand", "Plain"}; }));
      ASSERT_TRUE(zoo.zoo().WaitForLog("close Stubborn"));
      EXPECT_EQ(zoo.Asked("close"), (Names{"Hand", "Plain", "Stubborn"}));
      // The one that did not close stays down, as do the ones never asked; the ones that did
      // not go down stay open.
      EXPECT_TRUE(DownAre(zoo, {"Stubborn", "Untitled", "Manager"}));
      ChooseDesktopWindowItem("元に戻す");  // what close all minimised and is still there
      EXPECT_TRUE(DownAre(zoo, {}));
    }
    ExpectNotesUntouched();
  }
}

}  // namespace
}  // namespace e2e
