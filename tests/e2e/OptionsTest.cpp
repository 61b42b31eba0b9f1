#include <gtest/gtest.h>
#include <shlobj.h>

#include "Driver.h"
#include "Expectations.h"
#include "NoteFixtures.h"
#include "win/base/Ids.h"

namespace e2e {
namespace {

namespace id = vq::win;
const std::wstring kOptionsClass = L"Vornquill2.Options";

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  auto at = text.find(from);
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

class OptionsTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(TrayIconCount(), 0); }
  void TearDown() override {
    app.reset();
    EXPECT_TRUE(WaitUntil([] { return TrayIconCount() == 0; }));
  }
  HWND OpenFromMenu(const std::vector<std::string>& path) {
    app->RightPressTrayIcon();
    EXPECT_TRUE(app->WaitForMenu());
    EXPECT_TRUE(app->ChooseMenuItem(path));
    HWND dialog = nullptr;
    EXPECT_TRUE(WaitUntil([&] {
      auto windows = app->VisibleWindows(kOptionsClass);
      if (!windows.empty()) dialog = windows[0].hwnd;
      return dialog != nullptr;
    }));
    return dialog;
  }
  HWND Item(HWND dialog, int control) { return GetDlgItem(dialog, control); }
  int Page(HWND dialog, int tabs) { return static_cast<int>(Ask(Item(dialog, tabs), TCM_GETCURSEL)); }
  void Click(HWND dialog, int control) { ClickWindow(Item(dialog, control)); }
  std::vector<std::string> LauncherMenu() {
    app->RightPressTrayIcon();
    if (!app->WaitForMenu() || !app->ChooseMenuItem({"ランチャー"})) return {"<no menu>"};
    std::vector<std::string> captions;
    if (!WaitUntil([&] { return app->OpenMenus().size() == 2; })) return {"<no submenu>"};
    auto menus = app->OpenMenus();
    for (const auto& item : menus[0].items) captions.push_back(item.separator ? "-" : item.caption);
    app->CloseMenus();
    app->WaitForNoMenu();
    return captions;
  }
  // Registers a launcher entry in slot `slot` (0-based) through the launcher page.
  void RegisterEntry(HWND dialog, int slot, const std::wstring& name, const std::wstring& path) {
    ClickWindow(Item(dialog, id::kOptSlotFirst + slot));
    ASSERT_TRUE(WaitUntil([&] { return IsChecked(dialog, id::kOptSlotFirst + slot); }));
    ASSERT_TRUE(TypeInto(Item(dialog, id::kOptLauncherName), name));
    ASSERT_TRUE(TypeInto(Item(dialog, id::kOptLauncherPath), path));
    Click(dialog, id::kOptLauncherRegister);
  }

  ProgramFolder folder;
  std::unique_ptr<App> app;
};

TEST_F(OptionsTest, EachMenuItemOpensTheDialogOnItsPage) {
  app = App::Start(folder);
  HWND dialog = OpenFromMenu({"メールチェッカー", "(設定)"});
  EXPECT_EQ(WindowText(dialog), L"Vornquill2(設定)");
  EXPECT_EQ(Page(dialog, id::kOptTabs), 1);
  EXPECT_EQ(Page(dialog, id::kOptMailTabs), 3);
  EXPECT_TRUE(IsWindowVisible(Item(dialog, id::kOptInterval)));
  EXPECT_FALSE(IsWindowVisible(Item(dialog, id::kOptHostFirst)));
  const std::vector<std::pair<std::vector<std::string>, int>> items = {
      {{"オプション設定"}, 0}, {{"ランチャー", "(設定)"}, 2}, {{"付箋紙", "(設定)"}, 3}};
  for (const auto& [path, page] : items) {
    // Already open: the same dialog comes forward on the other page.
    EXPECT_EQ(OpenFromMenu(path), dialog);
    EXPECT_TRUE(WaitUntil([&] { return Page(dialog, id::kOptTabs) == page; })) << page;
  }
  EXPECT_EQ(Narrow(WindowText(Item(dialog, id::kOptFontName))), "ＭＳ Ｐゴシック");
  EXPECT_EQ(Narrow(WindowText(Item(dialog, id::kOptFontSize))), "9");
}

TEST_F(OptionsTest, TypedValuesReachTheFileByteForByteOnApplyAndOk) {
  app = App::Start(folder);
  HWND dialog = OpenFromMenu({"オプション設定"});
  Click(dialog, id::kOptWatchLabel);  // the caption toggles the box
  ASSERT_TRUE(WaitUntil([&] { return !IsChecked(dialog, id::kOptWatchCheck); }));
  Click(dialog, id::kOptMailLabel);
  ASSERT_TRUE(WaitUntil([&] { return IsChecked(dialog, id::kOptMailOption); }));
  EXPECT_FALSE(IsChecked(dialog, id::kOptMinimiseOption));

  ASSERT_TRUE(ClickTab(Item(dialog, id::kOptTabs), 1));
  ASSERT_TRUE(ClickTab(Item(dialog, id::kOptMailTabs), 1));
  ASSERT_TRUE(TypeInto(Item(dialog, id::kOptPortFirst + 1), L"995"));
  ASSERT_TRUE(TypeInto(Item(dialog, id::kOptHostFirst + 1), L"pop.example.jp"));
  ASSERT_TRUE(TypeInto(Item(dialog, id::kOptUserFirst + 1), L"山田 太郎"));
  ASSERT_TRUE(TypeInto(Item(dialog, id::kOptPasswordFirst + 1), L"p@ss"));
  EXPECT_NE(GetWindowLongW(Item(dialog, id::kOptPasswordFirst + 1), GWL_STYLE) & ES_PASSWORD, 0);
  ASSERT_TRUE(ClickTab(Item(dialog, id::kOptMailTabs), 3));
  // Letters and a minus sign are dropped; the fourth digit does not fit.
  ASSERT_TRUE(TypeInto(Item(dialog, id::kOptInterval), L"1a-53", L"153"));
  Click(dialog, id::kOptApply);

  std::string expected = FromShiftJis(FirstStartSettingsBytes());
  expected = Replace(expected, "b11=110", "b11=995");
  expected = Replace(expected, "b12=\r\n", "b12=pop.example.jp\r\n");
  expected = Replace(expected, "b13=\r\n", "b13=山田 太郎\r\n");
  expected = Replace(expected, "b14=\r\n", "b14=p@ss\r\n");
  expected = Replace(expected, "b5=0", "b5=153");
  expected = Replace(expected, "b6=1", "b6=0");
  expected = Replace(expected, "b7=True", "b7=False");
  expected = Replace(expected, "b8=False", "b8=True");
  std::string names = "[Lunch0]\r\n", paths = "[Lunch1]\r\n";
  for (int i = 0; i < 20; ++i) {
    names += std::to_string(i) + "=\r\n";
    paths += std::to_string(i) + "=\r\n";
  }
  expected += names + paths;
  ASSERT_TRUE(WaitUntil([&] { return folder.ReadBytes("Vornquill.ini") == ToShiftJis(expected); }))
      << FromShiftJis(*folder.ReadBytes("Vornquill.ini"));
  EXPECT_TRUE(IsWindow(dialog));  // Apply keeps the dialog open

  // Cancel after Apply keeps what Apply wrote.
  ASSERT_TRUE(TypeInto(Item(dialog, id::kOptInterval), L"9"));
  ASSERT_TRUE(ClickToClose(dialog, Item(dialog, id::kOptCancel)));
  EXPECT_EQ(folder.ReadBytes("Vornquill.ini"), ToShiftJis(expected));  // the place "0","0" is unchanged

  dialog = OpenFromMenu({"オプション設定"});
  EXPECT_EQ(Narrow(WindowText(Item(dialog, id::kOptInterval))), "153");
  EXPECT_EQ(Narrow(WindowText(Item(dialog, id::kOptUserFirst + 1))), "山田 太郎");
  SetWindowPos(dialog, nullptr, 100, 50, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  ASSERT_TRUE(WaitUntil([&] { return DescribeWindow(dialog).rect.left == 100; }));
  ASSERT_TRUE(ClickToClose(dialog, Item(dialog, id::kOptOk)));
  expected = Replace(expected, "[Option]\r\nTop=0\r\nLeft=0", "[Option]\r\nTop=750\r\nLeft=1500");
  EXPECT_EQ(folder.ReadBytes("Vornquill.ini"), ToShiftJis(expected))
      << FromShiftJis(*folder.ReadBytes("Vornquill.ini"));
}

TEST_F(OptionsTest, NoteDefaultsAndLauncherPageReachTheFileOnApply) {
  app = App::Start(folder);
  HWND dialog = OpenFromMenu({"付箋紙", "(設定)"});
  // The colour dialog, primed with white; its red, green and blue fields take the new colour.
  Click(dialog, id::kOptBackButton);
  auto colours = app->WaitForMessageBox();
  ASSERT_TRUE(colours);
  EXPECT_EQ(Narrow(WindowText(GetDlgItem(colours->hwnd, 706))), "255");
  Ask(GetDlgItem(colours->hwnd, 706), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"128"));
  Ask(GetDlgItem(colours->hwnd, 707), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"255"));
  Ask(GetDlgItem(colours->hwnd, 708), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"192"));
  Ask(GetDlgItem(colours->hwnd, 706), WM_KILLFOCUS);
  PressButton(colours->hwnd, IDOK);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(colours->hwnd); }));
  RECT swatch = DescribeWindow(Item(dialog, id::kOptBackSwatch)).rect;
  EXPECT_TRUE(WaitUntil([&] { return ScreenPixel(swatch.left + 4, swatch.top + 4) == RGB(128, 255, 192); }));

  ASSERT_TRUE(ClickTab(Item(dialog, id::kOptTabs), 2));
  ClickWindow(Item(dialog, id::kOptSlotFirst + 4));
  ASSERT_TRUE(TypeInto(Item(dialog, id::kOptLauncherName), L"フォルダ"));
  ASSERT_TRUE(TypeInto(Item(dialog, id::kOptLauncherPath), L"C:\\windows\\"));
  Click(dialog, id::kOptApply);  // Apply stores the slot being edited as well
  ASSERT_TRUE(WaitUntil([&] {
    auto text = FromShiftJis(*folder.ReadBytes("Vornquill.ini"));
    return text.find("BackColor=&HC0FF80\r\n") != std::string::npos &&
           text.find("[Lunch0]\r\n0=\r\n1=\r\n2=\r\n3=\r\n4=フォルダ\r\n") != std::string::npos &&
           text.find("[Lunch1]\r\n0=\r\n1=\r\n2=\r\n3=\r\n4=C:\\windows\\\r\n") != std::string::npos;
  })) << FromShiftJis(*folder.ReadBytes("Vornquill.ini"));
  ASSERT_TRUE(ClickToClose(dialog, Item(dialog, id::kOptOk)));
  EXPECT_EQ(LauncherMenu(), (std::vector<std::string>{"フォルダ", "-", "(設定)"}));
}

TEST_F(OptionsTest, RegisteringWithoutANameSaysSo) {
  app = App::Start(folder);
  HWND dialog = OpenFromMenu({"ランチャー", "(設定)"});
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(Item(dialog, id::kOptLauncherRegister)) != FALSE; }));
  Click(dialog, id::kOptLauncherRegister);
  auto box = app->WaitForMessageBox();
  ASSERT_TRUE(box);
  EXPECT_EQ(Narrow(box->text), "名前を付けてください。");
  PressButton(box->hwnd, IDOK);
  EXPECT_EQ(folder.ReadBytes("Vornquill.ini"), FirstStartSettingsBytes());
}

TEST_F(OptionsTest, RegisteredLauncherEntryStartsItsProgramWithItsArguments) {
  app = App::Start(folder);
  HWND dialog = OpenFromMenu({"ランチャー", "(設定)"});
  std::wstring marker = folder.File("marker.txt");
  std::wstring command = BesideThisProgram(L"vq_marker.exe") + L" " + marker + L" 引数 two";

  ClickWindow(Item(dialog, id::kOptSlotFirst + 2));
  ASSERT_TRUE(TypeInto(Item(dialog, id::kOptLauncherName), L"マーカー"));
  // The register button turns red only once both fields hold text.
  RECT button = DescribeWindow(Item(dialog, id::kOptLauncherRegister)).rect;
  EXPECT_EQ(ScreenPixel(button.left + 5, button.top + 5), GetSysColor(COLOR_BTNFACE));
  ASSERT_TRUE(TypeInto(Item(dialog, id::kOptLauncherPath), command));
  EXPECT_TRUE(WaitUntil([&] { return ScreenPixel(button.left + 5, button.top + 5) == RGB(255, 0, 0); }));
  Click(dialog, id::kOptLauncherRegister);
  ASSERT_TRUE(WaitUntil(
      [&] { return FromShiftJis(*folder.ReadBytes("Vornquill.ini")).find("2=マーカー") != std::string::npos; }));
  EXPECT_TRUE(WaitUntil([&] { return ScreenPixel(button.left + 5, button.top + 5) == GetSysColor(COLOR_BTNFACE); }));
  ASSERT_TRUE(ClickToClose(dialog, Item(dialog, id::kOptOk)));

  EXPECT_EQ(LauncherMenu(), (std::vector<std::string>{"マーカー", "-", "(設定)"}));
  app->RightPressTrayIcon();
  ASSERT_TRUE(app->WaitForMenu());
  ASSERT_TRUE(app->ChooseMenuItem({"ランチャー", "マーカー"}));
  ASSERT_TRUE(WaitUntil([&] { return folder.Exists("marker.txt"); }));
  EXPECT_TRUE(WaitUntil([&] { return folder.ReadBytes("marker.txt") == Narrow(command); }));
}

// The slots' frame on the launcher page is the page's colour inside, between its rows and
// columns of slots, from the moment the page is shown.
TEST_F(OptionsTest, LauncherFrameIsPaintedBetweenItsSlots) {
  app = App::Start(folder);
  HWND dialog = OpenFromMenu({"ランチャー", "(設定)"});
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(Item(dialog, id::kOptSlotFirst + 19)) != FALSE; }));
  auto slot = [&](int i) { return DescribeWindow(Item(dialog, id::kOptSlotFirst + i)).rect; };
  RECT frame = DescribeWindow(Item(dialog, id::kOptLauncherFrame)).rect;
  // Slots run in columns of four: the gaps between rows and columns, and the margin below.
  std::vector<POINT> gaps;
  for (int column = 0; column < 5; ++column)
    for (int row = 0; row < 4; ++row) {
      RECT r = slot(column * 4 + row);
      LONG below = row < 3 ? slot(column * 4 + row + 1).top : frame.bottom - 3;
      gaps.push_back({(r.left + r.right) / 2, (r.bottom + below) / 2});
      if (column < 4) gaps.push_back({(r.right + slot((column + 1) * 4 + row).left) / 2, (r.top + r.bottom) / 2});
    }
  auto wrong = [&] {
    std::vector<POINT> out;
    for (POINT p : gaps)
      if (ScreenPixel(p.x, p.y) != GetSysColor(COLOR_WINDOW)) out.push_back(p);
    return out;
  };
  EXPECT_TRUE(WaitUntil([&] { return wrong().empty(); }, 3s));
  for (POINT p : wrong()) {
    HWND at = WindowFromPoint(p);
    ADD_FAILURE() << p.x << "," << p.y << " shows " << std::hex << ScreenPixel(p.x, p.y) << " under "
                  << Narrow(DescribeWindow(at).className) << " " << GetDlgCtrlID(at);
  }
}

// Japanese names all the way: the program in a folder named in Japanese finds its files there,
// and a launcher target named in Japanese starts with its Japanese command line intact.
TEST_F(OptionsTest, JapaneseNamesOfTheProgramFolderAndTheLauncherTarget) {
  ProgramFolder japanese("付箋の道具箱");
  ASSERT_TRUE(CopyFileW(BesideThisProgram(L"vq_marker.exe").c_str(), japanese.File("マーカー.exe").c_str(), FALSE));
  std::string command =
      Narrow(japanese.File("マーカー.exe")) + " " + Narrow(japanese.File("記録.txt")) + " 引数 二つ目";
  japanese.WriteBytes("Vornquill.ini", ToShiftJis("[Lunch0]\r\n0=記録\r\n[Lunch1]\r\n0=" + command + "\r\n"));
  WriteNote(japanese, 0, RecordValues(), "日本語のフォルダから");
  app = App::Start(japanese);
  EXPECT_TRUE(WaitUntil([&] { return app->VisibleWindows(kNoteClass).size() == 1; }));
  app->RightPressTrayIcon();
  ASSERT_TRUE(app->WaitForMenu());
  ASSERT_TRUE(app->ChooseMenuItem({"ランチャー", "記録"}));
  ASSERT_TRUE(WaitUntil([&] { return japanese.Exists("記録.txt"); }));
  EXPECT_TRUE(WaitUntil([&] { return japanese.ReadBytes("記録.txt") == command; })) << *japanese.ReadBytes("記録.txt");
  EXPECT_TRUE(app->NoMessageBoxFor(100ms));
}

TEST_F(OptionsTest, MissingProgramAndFolderEntries) {
  folder.WriteBytes("Vornquill.ini", ToShiftJis("[Lunch0]\r\n0=ない\r\n3=ないフォルダ\r\n4=フォルダ\r\n[Lunch1]\r\n"
                                                "0=C:\\nowhere\\missing.exe /x\r\n3=C:\\nowhere\\\r\n"
                                                "4=C:\\windows\\\r\n"));
  app = App::Start(folder);
  EXPECT_EQ(LauncherMenu(), (std::vector<std::string>{"ない", "ないフォルダ", "フォルダ", "-", "(設定)"}));
  // A program or a folder that is not there: said so, and nothing is started.
  for (const char* entry : {"ない", "ないフォルダ"}) {
    SCOPED_TRACE(entry);
    app->RightPressTrayIcon();
    ASSERT_TRUE(app->WaitForMenu());
    ASSERT_TRUE(app->ChooseMenuItem({"ランチャー", entry}));
    auto box = app->WaitForMessageBox();
    ASSERT_TRUE(box);
    EXPECT_EQ(Narrow(box->text), "ファイルが見つかりません。");
    PressButton(box->hwnd, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box->hwnd); }));
  }
  for (const auto& w : TopLevelWindows(0))
    EXPECT_FALSE(w.visible && w.pid != app->Pid() && w.className == L"CabinetWClass") << Narrow(w.text);

  app->RightPressTrayIcon();
  ASSERT_TRUE(app->WaitForMenu());
  ASSERT_TRUE(app->ChooseMenuItem({"ランチャー", "フォルダ"}));
  // "explorer C:\windows\" opens a folder window.
  HWND explorer = nullptr;
  EXPECT_TRUE(WaitUntil(
      [&] {
        for (const auto& w : TopLevelWindows(0))
          if (w.visible && w.pid != app->Pid() &&
              (w.className == L"CabinetWClass" || w.className == L"ExploreWClass" || w.className == L"ExplorerWClass"))
            explorer = w.hwnd;
        return explorer != nullptr;
      },
      20s));
  if (explorer) PostMessageW(explorer, WM_CLOSE, 0, 0);
  EXPECT_TRUE(app->Running());
}

TEST_F(OptionsTest, StartupShortcutIsWrittenAndRemoved) {
  wchar_t startup[MAX_PATH] = L"";
  ASSERT_TRUE(SHGetSpecialFolderPathW(nullptr, startup, CSIDL_STARTUP, TRUE));
  std::wstring shortcut = std::wstring(startup) + L"\\Vornquill2.url";
  DeleteFileW(shortcut.c_str());
  app = App::Start(folder);
  HWND dialog = OpenFromMenu({"オプション設定"});

  std::string programFolder = Narrow(folder.Path());
  programFolder.pop_back();  // no trailing backslash
  const std::pair<int, const char*> steps[] = {{id::kOptStartupRegister, "スタートアップに登録しました。"},
                                               {id::kOptStartupRemove, "スタートアップから削除しました。"},
                                               {id::kOptStartupRemove, "ファイルが見つかりません。"}};
  for (const auto& [button, message] : steps) {
    Click(dialog, button);
    auto box = app->WaitForMessageBox();
    ASSERT_TRUE(box) << message;
    EXPECT_EQ(Narrow(box->text), message);
    EXPECT_EQ(box->buttons, std::vector<int>{IDOK});
    if (button == id::kOptStartupRegister) {
      HANDLE file = CreateFileW(shortcut.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
      ASSERT_NE(file, INVALID_HANDLE_VALUE);
      char bytes[2048];
      DWORD got = 0;
      ReadFile(file, bytes, sizeof bytes, &got, nullptr);
      CloseHandle(file);
      EXPECT_EQ(std::string(bytes, got),
                ToShiftJis("[InternetShortcut]\r\nURL=" + programFolder +
                           "\\Vornquill2.exe\r\nIconFile=" + programFolder + "\\Vornquill2.exe\r\nIconIndex=0\r\n"));
    } else {
      EXPECT_EQ(GetFileAttributesW(shortcut.c_str()), INVALID_FILE_ATTRIBUTES);
    }
    PressButton(box->hwnd, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box->hwnd); }));
  }
}

}  // namespace
}  // namespace e2e
