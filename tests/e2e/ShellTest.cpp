#include <gtest/gtest.h>

#include "Driver.h"
#include "Expectations.h"
#include "win/base/WindowNames.h"

namespace e2e {
namespace {

std::vector<std::string> Captions(const OpenMenu& menu) {
  std::vector<std::string> out;
  for (const auto& item : menu.items) out.push_back(item.separator ? "-" : item.caption);
  return out;
}

class ShellTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(TrayIconCount(), 0) << "a tray icon was left over from an earlier test"; }
  void TearDown() override {
    app.reset();
    EXPECT_TRUE(WaitUntil([] { return TrayIconCount() == 0; }));
  }

  ProgramFolder folder;
  std::unique_ptr<App> app;
};

TEST_F(ShellTest, FirstStartWritesTheDefaultsAndStaysInTheTrayOnly) {
  app = App::Start(folder);
  ASSERT_TRUE(WaitUntil([] { return TrayIconCount() == 1; }));
  EXPECT_EQ(folder.ReadBytes("Vornquill.ini"), FirstStartSettingsBytes());
  EXPECT_EQ(folder.Files(), (std::vector<std::string>{"Vornquill.ini", "Vornquill2.exe"}));
  EXPECT_EQ(TrayIconTips(), std::vector<std::wstring>{L"Vornquill2"});

  HWND main = app->MainWindow();
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(WindowText(main), L"Vornquill2");
  for (const auto& w : app->Windows()) EXPECT_FALSE(w.visible) << Narrow(w.className);
}

TEST_F(ShellTest, ExistingEmptyFileIsLeftAlone) {
  folder.WriteBytes("Vornquill.ini", "");
  app = App::Start(folder);
  ASSERT_TRUE(WaitUntil([] { return TrayIconCount() == 1; }));
  EXPECT_EQ(folder.ReadBytes("Vornquill.ini"), "");
}

TEST_F(ShellTest, SecondStartSaysSoOnceAndEndsWithoutTouchingAnything) {
  app = App::Start(folder);
  ASSERT_TRUE(WaitUntil([] { return TrayIconCount() == 1; }));
  auto settings = folder.ReadBytes("Vornquill.ini");

  for (bool sameFolder : {true, false}) {
    SCOPED_TRACE(sameFolder ? "same folder" : "another folder");
    ProgramFolder other;
    auto second = App::Start(sameFolder ? folder : other, false);
    auto box = second->WaitForMessageBox();
    ASSERT_TRUE(box);
    EXPECT_EQ(Narrow(box->text), kAlreadyOpen);
    EXPECT_EQ(box->title, L"Vornquill2");
    EXPECT_EQ(box->buttons, std::vector<int>{IDOK});
    EXPECT_FALSE(box->hasIcon);
    EXPECT_EQ(second->MainWindow(), nullptr);
    ASSERT_TRUE(PressButton(box->hwnd, IDOK));
    ASSERT_TRUE(second->WaitForExit());
    EXPECT_EQ(TrayIconCount(), 1);
    EXPECT_EQ(folder.ReadBytes("Vornquill.ini"), settings);
    EXPECT_FALSE(other.Exists("Vornquill.ini"));
  }
  EXPECT_TRUE(app->Running());
}

TEST_F(ShellTest, RightPressPopsUpTheMainMenuWithItsItemsInOrder) {
  app = App::Start(folder);
  app->RightPressTrayIcon();
  ASSERT_TRUE(app->WaitForMenu());
  auto menus = app->OpenMenus();
  ASSERT_EQ(menus.size(), 1u);
  EXPECT_EQ(Captions(menus[0]), (std::vector<std::string>{"DesktopWindow", "-", "付箋紙", "-", "ランチャー", "-",
                                                          "メールチェッカー", "-", "オプション設定", "-", "終了"}));
  // At the mouse position, with the main window brought forward for it.
  POINT cursor;
  GetCursorPos(&cursor);
  EXPECT_LE(std::abs(menus[0].rect.left - cursor.x) + std::abs(menus[0].rect.top - cursor.y), 2);
  EXPECT_EQ(GetForegroundWindow(), app->MainWindow());
  app->CloseMenus();
  ASSERT_TRUE(app->WaitForNoMenu());

  const std::vector<std::pair<std::string, std::vector<std::string>>> submenus = {
      {"DesktopWindow", {"すべて最小化", "元に戻す", "このモニターだけ最小化", "すべて閉じる"}},
      {"付箋紙", {"[新規作成]", "-", "-", "はがした付箋紙", "(設定)"}},
      {"ランチャー", {"(なし)", "-", "(設定)"}},
      {"メールチェッカー", {"メールチェック", "-", "(設定)"}},
  };
  for (const auto& [caption, items] : submenus) {
    SCOPED_TRACE(caption);
    app->RightPressTrayIcon();
    ASSERT_TRUE(app->WaitForMenu());
    ASSERT_TRUE(app->ChooseMenuItem({caption}));
    ASSERT_TRUE(WaitUntil([&] { return app->OpenMenus().size() == 2; }));
    auto open = app->OpenMenus();
    EXPECT_EQ(Captions(open[0]), items);
    for (const auto& item : open[0].items) EXPECT_FALSE(item.checked);
    app->CloseMenus();
    ASSERT_TRUE(app->WaitForNoMenu());
  }
}

TEST_F(ShellTest, OnlyTheRightPressAndTheDoubleClickAreHeard) {
  app = App::Start(folder);
  for (UINT message : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONUP, WM_RBUTTONDBLCLK, WM_MBUTTONDOWN}) {
    app->SendTrayMouse(message);
  }
  // The double-click's tools come later; it must not open anything or write anything now.
  app->SendTrayMouse(WM_LBUTTONDBLCLK);
  auto before = folder.ReadBytes("Vornquill.ini");
  EXPECT_FALSE(app->WaitForMenu(500ms));
  EXPECT_TRUE(app->NoMessageBoxFor(100ms));
  EXPECT_EQ(folder.ReadBytes("Vornquill.ini"), before);
  EXPECT_TRUE(app->Running());
}

TEST_F(ShellTest, MenuItemsThatOnlyOpenSomethingWriteNothing) {
  app = App::Start(folder);
  auto before = folder.ReadBytes("Vornquill.ini");
  for (const auto& path : std::vector<std::vector<std::string>>{{"ランチャー", "(なし)"}, {"オプション設定"}}) {
    app->RightPressTrayIcon();
    ASSERT_TRUE(app->WaitForMenu());
    ASSERT_TRUE(app->ChooseMenuItem(path));
    ASSERT_TRUE(app->WaitForNoMenu());
  }
  EXPECT_TRUE(app->NoMessageBoxFor(200ms));
  EXPECT_TRUE(app->Running());
  EXPECT_EQ(folder.ReadBytes("Vornquill.ini"), before);
}

TEST_F(ShellTest, ExitRemovesTheIconAndEndsAtOnceSavingNothing) {
  app = App::Start(folder);
  ASSERT_TRUE(WaitUntil([] { return TrayIconCount() == 1; }));
  folder.WriteBytes("Vornquill.ini", "");  // anything written at exit would show here
  app->RightPressTrayIcon();
  ASSERT_TRUE(app->WaitForMenu());
  ASSERT_TRUE(app->ChooseMenuItem({"終了"}));
  ASSERT_TRUE(app->WaitForExit());
  EXPECT_EQ(TrayIconCount(), 0);
  EXPECT_EQ(folder.ReadBytes("Vornquill.ini"), "");
}

TEST_F(ShellTest, CloseRequestFromWindowsEndsTheProgramWhenNoMailCheckRuns) {
  app = App::Start(folder);
  ASSERT_TRUE(WaitUntil([] { return TrayIconCount() == 1; }));
  PostMessageW(app->MainWindow(), WM_CLOSE, 0, 0);
  ASSERT_TRUE(app->WaitForExit());
  EXPECT_EQ(TrayIconCount(), 0);
}

TEST_F(ShellTest, IconComesBackWhenTheTaskbarIsRecreated) {
  app = App::Start(folder);
  ASSERT_TRUE(WaitUntil([] { return TrayIconCount() == 1; }));
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = app->MainWindow();
  data.uID = vq::win::kTrayIconId;
  ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &data));
  ASSERT_TRUE(WaitUntil([] { return TrayIconCount() == 0; }));

  PostMessageW(app->MainWindow(), RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  EXPECT_TRUE(WaitUntil([] { return TrayIconCount() == 1; }));
}

TEST_F(ShellTest, ClickOnTheRealTrayIconReachesTheProgram) {
  app = App::Start(folder);
  HWND icon = nullptr;
  ASSERT_TRUE(WaitUntil([&] {
    for (const auto& tray : TopLevelWindows(0))
      for (const auto& child : ChildWindows(tray.hwnd))
        if (child.className == L"__winex11_tray_icon" || child.className == L"__wine_tray_icon") icon = child.hwnd;
    return icon != nullptr;
  }));
  PostMessageW(icon, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
  PostMessageW(icon, WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
  ASSERT_TRUE(app->WaitForMenu());
  app->CloseMenus();
}

}  // namespace
}  // namespace e2e
