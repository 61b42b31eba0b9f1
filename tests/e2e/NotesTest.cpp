#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "Driver.h"
#include "NoteFixtures.h"

namespace e2e {
namespace {

// Record values read back from the file.
std::vector<std::string> Lines(const ProgramFolder& folder, int n) {
  std::vector<std::string> lines;
  std::istringstream in(FromShiftJis(RecordOf(folder, n)));
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line.size() >= 2 ? line.substr(1, line.size() - 2) : line);
  }
  return lines;
}

// The note at a place, or a test failure that says where the notes are.
WindowInfo NoteAtOrFail(const App& app, int x, int y) {
  if (auto note = NoteAt(app, x, y)) return *note;
  std::string where;
  for (const auto& w : app.VisibleWindows(kNoteClass))
    where += " (" + std::to_string(w.rect.left) + "," + std::to_string(w.rect.top) + ")";
  ADD_FAILURE() << "no note at (" << x << "," << y << "); notes at" << where;
  return {};
}

std::vector<std::string> NoteSubmenu(const App& app) {
  std::vector<std::string> captions;
  app.RightPressTrayIcon();
  if (!app.WaitForMenu() || !app.ChooseMenuItem({"付箋紙"})) return {"<no menu>"};
  if (!WaitUntil([&] { return app.OpenMenus().size() == 2; })) return {"<no submenu>"};
  auto menus = app.OpenMenus();
  if (menus.empty()) return {"<menu closed>"};
  for (const auto& item : menus[0].items) captions.push_back(item.separator ? "-" : item.caption);
  app.CloseMenus();
  app.WaitForNoMenu();
  return captions;
}

class NotesTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(TrayIconCount(), 0); }
  void TearDown() override {
    app.reset();
    EXPECT_TRUE(WaitUntil([] { return TrayIconCount() == 0; }));
  }
  void Start() { app = App::Start(folder); }
  // Right-clicks the note and chooses an item of its menu.
  void NoteCommand(const WindowInfo& note, const std::string& item) {
    POINT c = Centre(note.rect);
    ClickAt(c.x, c.y, true);
    ASSERT_TRUE(app->WaitForMenu());
    ASSERT_TRUE(app->ChooseMenuItem({item}));
    ASSERT_TRUE(app->WaitForNoMenu());
  }
  std::vector<bool> NoteMenuChecks(const WindowInfo& note) {
    POINT c = Centre(note.rect);
    ClickAt(c.x, c.y, true);
    if (!app->WaitForMenu()) return {};
    auto menus = app->OpenMenus();
    app->CloseMenus();
    app->WaitForNoMenu();
    if (menus.size() != 1 || menus[0].items.size() != 5) return {};
    return {menus[0].items[1].checked, menus[0].items[2].checked};
  }

  ProgramFolder folder;
  std::unique_ptr<App> app;
};

TEST_F(NotesTest, RestoreShowsEachNoteAtItsPlaceInItsColours) {
  WriteNote(folder, 0, RecordValues(), "買い物リスト\r\n牛乳、卵、パン");
  WriteNote(folder, 1, RecordValues().Set(4, "&HC0FFC0").Set(7, "4500").Set(8, "1500").WithoutLayer(), "一行");
  WriteNote(folder, 2, RecordValues().Set(6, "False"), "隠れている付箋紙のメモ");
  folder.WriteBytes("Vornquill3.hsn", RecordValues().Bytes());
  WriteNote(folder, 4, RecordValues().Set(7, "7500").Set(8, "7500").Alarm("2001", "05", "01", "09", "30"), "期限");
  WriteNote(folder, 5, RecordValues().Set(7, "9000").Set(8, "1500").Alarm("2099", "12", "31", "23", "59"), "一行");
  std::map<std::string, std::string> before;
  for (const auto& name : folder.Files()) before[name] = *folder.ReadBytes(name);

  Start();
  auto box = app->WaitForMessageBox();
  ASSERT_TRUE(box);
  EXPECT_EQ(Narrow(box->text), "Vornquill3.logが見つかりません");
  EXPECT_EQ(box->title, L"Vornquill2");
  EXPECT_EQ(box->buttons, std::vector<int>{IDOK});
  PressButton(box->hwnd, IDOK);
  EXPECT_TRUE(app->NoMessageBoxFor(300ms));

  ASSERT_TRUE(WaitUntil([&] { return app->VisibleWindows(kNoteClass).size() == 4; }));
  auto shopping = NoteAt(*app, 192, 96);  // 2880 and 1440 twips at 96 dpi
  auto oneLine = NoteAt(*app, 100, 300);  // the 14-line record
  auto overdue = NoteAt(*app, 500, 500);
  auto future = NoteAt(*app, 100, 600);
  ASSERT_TRUE(shopping && oneLine && overdue && future);
  for (const auto& note : {*shopping, *oneLine, *overdue, *future}) {
    EXPECT_EQ(note.text, L"付箋紙");
    EXPECT_FALSE(note.topmost);
    LONG style = GetWindowLongW(note.hwnd, GWL_STYLE), exStyle = GetWindowLongW(note.hwnd, GWL_EXSTYLE);
    EXPECT_EQ(style & (WS_CAPTION | WS_THICKFRAME | WS_BORDER | WS_DLGFRAME), 0);
    EXPECT_NE(exStyle & WS_EX_TOOLWINDOW, 0);  // no taskbar button
    // Owned by the hidden main window: no taskbar button under Wine's desktop either, and out
    // of reach of minimise all and close all.
    EXPECT_EQ(GetWindow(note.hwnd, GW_OWNER), app->MainWindow());
  }
  // The note's own background; the countdown line red once the alarm has passed, in the
  // highlight colour while it counts down, and above the text.
  EXPECT_EQ(ScreenPixel(shopping->rect.right - 1, shopping->rect.bottom - 1), RGB(0xFF, 0xFF, 0x80));
  EXPECT_EQ(ScreenPixel(oneLine->rect.right - 1, oneLine->rect.bottom - 1), RGB(0xC0, 0xFF, 0xC0));
  EXPECT_EQ(ScreenPixel(overdue->rect.right - 1, overdue->rect.top + 1), RGB(255, 0, 0));
  EXPECT_EQ(ScreenPixel(future->rect.right - 1, future->rect.top + 1), GetSysColor(COLOR_HIGHLIGHT));
  EXPECT_EQ(ScreenPixel(future->rect.left + 1, future->rect.bottom - 1), RGB(0xFF, 0xFF, 0x80));
  int textHeight = oneLine->rect.bottom - oneLine->rect.top;
  EXPECT_GT(future->rect.bottom - future->rect.top, textHeight + 8);
  EXPECT_GT(future->rect.right - future->rect.left, oneLine->rect.right - oneLine->rect.left);
  EXPECT_GT(shopping->rect.bottom - shopping->rect.top, textHeight * 3 / 2);  // two lines

  EXPECT_EQ(NoteSubmenu(*app), (std::vector<std::string>{"[新規作成]", "-", "隠れている付箋(非表示タグ)", "-",
                                                         "はがした付箋紙", "(設定)"}));
  for (const auto& [name, bytes] : before) EXPECT_EQ(folder.ReadBytes(name), bytes) << name;
}

TEST_F(NotesTest, ClickAndDragRewriteTheRecordWithThePlace) {
  WriteNote(folder, 0, RecordValues().Set(7, "1440").Set(8, "1440").WithoutLayer(), "ドラッグしてね");
  Start();
  ASSERT_TRUE(WaitUntil([&] { return NoteAt(*app, 96, 96).has_value(); }));
  auto note = NoteAtOrFail(*app, 96, 96);

  // A click without a move rewrites the record whole: the 14-line file gets its 15th line.
  POINT c = Centre(note.rect);
  ClickAt(c.x, c.y);
  ASSERT_TRUE(WaitUntil([&] { return RecordOf(folder, 0) == RecordValues().Set(7, "1440").Set(8, "1440").Bytes(); }));

  // The record takes the place the note ended at. (How far Wine's move loop carries a window for
  // a given mouse path is Wine's affair; that the note moved and saved where it is, is ours.)
  Drag(c.x, c.y, c.x + 100, c.y + 50);
  std::optional<WindowInfo> moved;
  ASSERT_TRUE(WaitUntil([&] {
    auto notes = app->VisibleWindows(kNoteClass);
    if (notes.size() == 1 && notes[0].rect.left > 96 && notes[0].rect.top > 96) moved = notes[0];
    return moved.has_value();
  }));
  EXPECT_TRUE(WaitUntil([&] {
    auto now = app->VisibleWindows(kNoteClass);
    if (now.empty()) return false;
    return RecordOf(folder, 0) == RecordValues()
                                      .Set(7, std::to_string(now[0].rect.top * 15))
                                      .Set(8, std::to_string(now[0].rect.left * 15))
                                      .Bytes();
  })) << FromShiftJis(RecordOf(folder, 0));
  EXPECT_EQ(folder.ReadBytes("Vornquill0.log"), ToShiftJis("ドラッグしてね\r\n"));
}

TEST_F(NotesTest, StackingCommandsChangeTheWindowAndTheRecord) {
  WriteNote(folder, 0, RecordValues(), "重ね順");
  Start();
  ASSERT_TRUE(WaitUntil([&] { return NoteAt(*app, 192, 96).has_value(); }));
  auto note = [&] { return NoteAtOrFail(*app, 192, 96); };
  auto layer = [&] { return Lines(folder, 0).at(14); };

  EXPECT_EQ(NoteMenuChecks(note()), (std::vector<bool>{false, false}));
  NoteCommand(note(), "最前面に表示");
  ASSERT_TRUE(WaitUntil([&] { return layer() == "True"; }));
  EXPECT_TRUE(note().topmost);
  EXPECT_EQ(NoteMenuChecks(note()), (std::vector<bool>{true, false}));

  // Straight from always on top to the desktop; Wine has no program-manager window, so the
  // note stays an ordinary window.
  NoteCommand(note(), "最背面に表示");
  ASSERT_TRUE(WaitUntil([&] { return layer() == "0"; }));
  EXPECT_FALSE(note().topmost);
  EXPECT_EQ(NoteMenuChecks(note()), (std::vector<bool>{false, true}));

  NoteCommand(note(), "最背面に表示");
  ASSERT_TRUE(WaitUntil([&] { return layer() == "False"; }));
  NoteCommand(note(), "最前面に表示");
  ASSERT_TRUE(WaitUntil([&] { return layer() == "True"; }));
  NoteCommand(note(), "最前面に表示");
  ASSERT_TRUE(WaitUntil([&] { return layer() == "False"; }));
  EXPECT_FALSE(note().topmost);
  EXPECT_EQ(Lines(folder, 0).size(), 15u);
}

TEST_F(NotesTest, HiddenNoteWaitsInTheTrayMenuAcrossARestart) {
  WriteNote(folder, 0, RecordValues().Set(6, "True").Set(14, "True"), "あとで見る");
  WriteNote(folder, 1, RecordValues().Set(7, "6000"), "ずっと表示");
  Start();
  ASSERT_TRUE(WaitUntil([&] { return app->VisibleWindows(kNoteClass).size() == 2; }));
  NoteCommand(NoteAtOrFail(*app, 192, 96), "非表示");
  ASSERT_TRUE(WaitUntil([&] { return app->VisibleWindows(kNoteClass).size() == 1; }));
  EXPECT_EQ(Lines(folder, 0).at(6), "False");

  app.reset();
  ASSERT_TRUE(WaitUntil([] { return TrayIconCount() == 0; }));
  Start();
  ASSERT_TRUE(WaitUntil([&] { return app->VisibleWindows(kNoteClass).size() == 1; }));
  EXPECT_EQ(NoteSubmenu(*app),
            (std::vector<std::string>{"[新規作成]", "-", "あとで見る(非表示タグ)", "-", "はがした付箋紙", "(設定)"}));

  app->RightPressTrayIcon();
  ASSERT_TRUE(app->WaitForMenu());
  ASSERT_TRUE(app->ChooseMenuItem({"付箋紙", "あとで見る(非表示タグ)"}));
  ASSERT_TRUE(WaitUntil([&] { return NoteAt(*app, 192, 96).has_value(); }));
  EXPECT_TRUE(NoteAtOrFail(*app, 192, 96).topmost);
  EXPECT_EQ(RecordOf(folder, 0), RecordValues().Set(14, "True").Bytes());
  EXPECT_EQ(NoteSubmenu(*app), (std::vector<std::string>{"[新規作成]", "-", "-", "はがした付箋紙", "(設定)"}));
}

TEST_F(NotesTest, PeelOffAsksFirstAndKeepsTheFilesToBringTheNoteBack) {
  const auto record = RecordValues().Set(4, "&HC0FFC0").Set(14, "True").Alarm("2099", "12", "31", "23", "59");
  WriteNote(folder, 0, record, "はがす");
  WriteNote(folder, 1, RecordValues().Set(7, "6000"), "もう一枚");
  Start();
  ASSERT_TRUE(WaitUntil([&] { return app->VisibleWindows(kNoteClass).size() == 2; }));

  for (auto [answer, top] : {std::pair{IDNO, 96}, {IDYES, 96}, {IDYES, 400}}) {
    NoteCommand(NoteAtOrFail(*app, 192, top), "はがす");
    auto box = app->WaitForMessageBox();
    ASSERT_TRUE(box);
    EXPECT_EQ(Narrow(box->text), "このタグを消去しますか？");
    EXPECT_EQ(box->buttons, (std::vector<int>{IDYES, IDNO}));
    EXPECT_FALSE(box->hasIcon);
    PressButton(box->hwnd, answer);
    if (answer == IDNO) {
      ASSERT_TRUE(WaitUntil([&] { return !app->WaitForMessageBox(0ms); }));
      EXPECT_TRUE(folder.Exists("Vornquill0.hsn"));
      EXPECT_EQ(app->VisibleWindows(kNoteClass).size(), 2u);
    }
  }
  ASSERT_TRUE(WaitUntil([&] { return app->VisibleWindows(kNoteClass).empty(); }));
  EXPECT_EQ(folder.Files(), (std::vector<std::string>{"Vornquill.ini", "Vornquill2.exe"}));
  // Moved as they were, named by the order and the minute they were peeled in.
  auto peeled = folder.Files("はがした付箋紙");
  ASSERT_EQ(peeled.size(), 4u);
  EXPECT_EQ(folder.ReadBytes("はがした付箋紙\\" + peeled[0]), record.Bytes());

  SYSTEMTIME now;
  GetLocalTime(&now);
  char older[40];
  snprintf(older, sizeof older, "はがす(%04d/%02d/%02d)", now.wYear, now.wMonth, now.wDay);

  // The older one comes back with its number, place, colours, layer and alarm.
  app->RightPressTrayIcon();
  ASSERT_TRUE(app->WaitForMenu());
  ASSERT_TRUE(app->ChooseMenuItem({"付箋紙", "はがした付箋紙", older}));
  ASSERT_TRUE(WaitUntil([&] { return app->VisibleWindows(kNoteClass).size() == 1; }));
  auto back = NoteAtOrFail(*app, 192, 96);
  EXPECT_TRUE(back.topmost);
  EXPECT_EQ(ScreenPixel(back.rect.left + 1, back.rect.bottom - 1), RGB(0xC0, 0xFF, 0xC0));
  EXPECT_EQ(RecordOf(folder, 0), record.Bytes());
  EXPECT_EQ(folder.ReadBytes("Vornquill0.log"), ToShiftJis("はがす\r\n"));
  EXPECT_EQ(folder.Files("はがした付箋紙"), (std::vector<std::string>{peeled[2], peeled[3]}));
}

TEST_F(NotesTest, ALockedRecordIsReportedAndKept) {
  WriteNote(folder, 0, RecordValues(), "ロック中");
  Start();
  ASSERT_TRUE(WaitUntil([&] { return NoteAt(*app, 192, 96).has_value(); }));
  HANDLE lock = CreateFileW(folder.File("Vornquill0.hsn").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  POINT c = Centre(NoteAtOrFail(*app, 192, 96).rect);
  Drag(c.x, c.y, c.x + 40, c.y + 40);
  auto box = app->WaitForMessageBox();
  CloseHandle(lock);
  ASSERT_TRUE(box);
  EXPECT_EQ(Narrow(box->text).rfind("Vornquill0.hsnを保存できませんでした。", 0), 0u) << Narrow(box->text);
  PressButton(box->hwnd, IDOK);
  EXPECT_EQ(RecordOf(folder, 0), RecordValues().Bytes());
  EXPECT_EQ(folder.Files(),
            (std::vector<std::string>{"Vornquill.ini", "Vornquill0.hsn", "Vornquill0.log", "Vornquill2.exe"}));
}

TEST_F(NotesTest, NoteSavedOffEveryScreenIsShownWhereItCanBeSeen) {
  WriteNote(folder, 0, RecordValues().Set(7, "-150000").Set(8, "900000"), "迷子");
  Start();
  ASSERT_TRUE(WaitUntil([&] { return app->VisibleWindows(kNoteClass).size() == 1; }));
  RECT r = app->VisibleWindows(kNoteClass)[0].rect;
  RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}, overlap;
  EXPECT_TRUE(IntersectRect(&overlap, &r, &screen) && EqualRect(&overlap, &r));
  EXPECT_EQ(RecordOf(folder, 0), RecordValues().Set(7, "-150000").Set(8, "900000").Bytes());
}

TEST_F(NotesTest, UnreadableNoteFilesAreNamedAndLeftUntouched) {
  folder.WriteBytes("Vornquill0.hsn", "");
  folder.WriteBytes("Vornquill0.log", "x\r\n");
  folder.WriteBytes("Vornquill1.hsn", std::string("\x00\x01\x02\xff", 4) + std::string(5000, 'Z'));
  folder.WriteBytes("Vornquill1.log", "x\r\n");
  WriteNote(folder, 2, RecordValues(), "");
  folder.WriteBytes("Vornquill2.log", "\x81\x20\xff\r\n");
  WriteNote(folder, 3, RecordValues(), "無事");
  std::map<std::string, std::string> before;
  for (const auto& name : folder.Files()) before[name] = *folder.ReadBytes(name);

  Start();
  for (const char* file : {"Vornquill0.hsn", "Vornquill1.hsn", "Vornquill2.log"}) {
    auto box = app->WaitForMessageBox();
    ASSERT_TRUE(box) << file;
    EXPECT_EQ(Narrow(box->text), std::string(file) + "を読み込めませんでした。");
    PressButton(box->hwnd, IDOK);
    WaitUntil([&] { return !IsWindow(box->hwnd); });
  }
  ASSERT_TRUE(WaitUntil([&] { return app->VisibleWindows(kNoteClass).size() == 1; }));
  for (const auto& [name, bytes] : before) EXPECT_EQ(folder.ReadBytes(name), bytes) << name;
}

TEST(NotesReadOnly, AReadOnlyFolderSaysANoteCannotBeSavedNorPeeled) {
  // The test script mounts this folder read-only with the program and note 0 in it.
  wchar_t folder[MAX_PATH] = L"";
  if (!GetEnvironmentVariableW(L"VQ_READONLY_NOTES_FOLDER", folder, MAX_PATH)) GTEST_SKIP() << "no read-only folder";
  ASSERT_EQ(TrayIconCount(), 0);
  {
    auto app = App::StartExe(std::wstring(folder) + L"Vornquill2.exe");
    ASSERT_TRUE(WaitUntil([&] { return app->VisibleWindows(kNoteClass).size() == 1; }));
    POINT c = Centre(app->VisibleWindows(kNoteClass)[0].rect);
    Drag(c.x, c.y, c.x + 30, c.y + 30);
    auto box = app->WaitForMessageBox();
    ASSERT_TRUE(box);
    EXPECT_EQ(Narrow(box->text).rfind("Vornquill0.hsnを保存できませんでした。", 0), 0u);
    PressButton(box->hwnd, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return !app->WaitForMessageBox(0ms); }));

    // Nothing can be moved away or deleted (though Wine's delete says it was): the note stays.
    c = Centre(app->VisibleWindows(kNoteClass)[0].rect);
    ClickAt(c.x, c.y, true);
    ASSERT_TRUE(app->WaitForMenu());
    ASSERT_TRUE(app->ChooseMenuItem({"はがす"}));
    for (const char* expected :
         {"このタグを消去しますか？", "はがした付箋紙に保存できません。この付箋紙を完全に削除しますか？",
          "Vornquill0.hsnを削除できませんでした。"}) {
      box = app->WaitForMessageBox();
      ASSERT_TRUE(box);
      EXPECT_EQ(Narrow(box->text), expected);
      EXPECT_FALSE(box->hasIcon);
      PressButton(box->hwnd, box->buttons.size() == 2 ? IDYES : IDOK);
      WaitUntil([&] { return !IsWindow(box->hwnd); });
    }
    EXPECT_EQ(app->VisibleWindows(kNoteClass).size(), 1u);
    EXPECT_TRUE(app->Running());
  }
  EXPECT_TRUE(WaitUntil([] { return TrayIconCount() == 0; }));
}

}  // namespace
}  // namespace e2e
