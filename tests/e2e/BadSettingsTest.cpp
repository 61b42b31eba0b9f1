#include <gtest/gtest.h>

#include "Driver.h"

namespace e2e {
namespace {

struct BadFile {
  const char* name;
  std::string bytes;
};

std::string Repeat(char c, size_t n) { return std::string(n, c); }

std::vector<BadFile> BadFiles() {
  std::string garbage;
  for (int i = 0; i < 4096; ++i) garbage.push_back(static_cast<char>((i * 7919 + 13) % 256));
  return {
      {"empty", ""},
      {"wrong forms",
       "[a1]\r\nb5=abc\r\nb6=yes\r\nb7=true\r\nb8=TRUE\r\nb01=port\r\n[Fusen]\r\nFontSize=big\r\n"
       "BackColor=white\r\nForeColor=&HXYZ\r\nTop=-99999999999\r\nLeft=1e9\r\n"},
      {"lines without equals", "[a1]\r\nb5\r\nb7 True\r\n=True\r\n[Lunch0]\r\n0\r\n[Lunch1\r\n0=C:\\\r\n"},
      {"values too long", "[a1]\r\nb5=" + Repeat('9', 5000) + "\r\n[Lunch0]\r\n0=" + Repeat('x', 3000) +
                              "\r\n[Lunch1]\r\n0=" + Repeat('y', 3000) + "\r\n"},
      {"binary garbage", garbage},
      {"invalid shift-jis",
       "[a1]\r\nb7=\x81\x20\xFF\xFE\xA0\r\n[Lunch0]\r\n0=\x82\xA0\x81\r\n3=\xEF\xFF\x80\r\n"
       "[Fusen]\r\nFontName=\x81\r\n"},
  };
}

class BadSettingsTest : public ::testing::TestWithParam<BadFile> {};

TEST_P(BadSettingsTest, ProgramStartsAndNeverRewritesTheFile) {
  ASSERT_EQ(TrayIconCount(), 0);
  ProgramFolder folder;
  folder.WriteBytes("Vornquill.ini", GetParam().bytes);
  {
    auto app = App::Start(folder);
    ASSERT_TRUE(WaitUntil([] { return TrayIconCount() == 1; }));
    app->RightPressTrayIcon();
    ASSERT_TRUE(app->WaitForMenu());
    auto menus = app->OpenMenus();
    ASSERT_EQ(menus.size(), 1u);
    EXPECT_EQ(menus[0].items.back().caption, "終了");
    app->CloseMenus();
    ASSERT_TRUE(app->WaitForNoMenu());
    // "b7" is not "True" in any of these files: the double-click checks mail, and with no
    // usable account it says so (and opens the options dialog, which writes nothing).
    app->SendTrayMouse(WM_LBUTTONDBLCLK);
    auto box = app->WaitForMessageBox();
    ASSERT_TRUE(box);
    EXPECT_EQ(box->text, L"メール設定を行ってください。");
    EXPECT_TRUE(PressButton(box->hwnd, IDOK));
    EXPECT_TRUE(app->Running());
  }
  EXPECT_EQ(folder.ReadBytes("Vornquill.ini"), GetParam().bytes);
  EXPECT_TRUE(WaitUntil([] { return TrayIconCount() == 0; }));
}

INSTANTIATE_TEST_SUITE_P(Files, BadSettingsTest, ::testing::ValuesIn(BadFiles()), [](const auto& info) {
  std::string name;
  for (char c : std::string(info.param.name)) name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
  return name;
});

TEST(BadSettings, ReadOnlyFileIsUsedAsItIs) {
  ProgramFolder folder;
  const std::string bytes = "[Lunch0]\r\n0=メモ帳\r\n[Lunch1]\r\n0=notepad.exe\r\n";
  folder.WriteBytes("Vornquill.ini", ToShiftJis(bytes));
  folder.SetFileReadOnly("Vornquill.ini", true);
  {
    auto app = App::Start(folder);
    app->RightPressTrayIcon();
    ASSERT_TRUE(app->ChooseMenuItem({"ランチャー"}));
    ASSERT_TRUE(WaitUntil([&] { return app->OpenMenus().size() == 2; }));
    EXPECT_EQ(app->OpenMenus()[0].items[0].caption, "メモ帳");
    app->CloseMenus();
  }
  EXPECT_EQ(folder.ReadBytes("Vornquill.ini"), ToShiftJis(bytes));
  EXPECT_TRUE(WaitUntil([] { return TrayIconCount() == 0; }));
}

TEST(BadSettings, ReadOnlyProgramFolderStillGivesAWorkingProgram) {
  // The test script mounts this folder read-only, with nothing in it but the program.
  wchar_t folder[MAX_PATH] = L"";
  if (!GetEnvironmentVariableW(L"VQ_READONLY_FOLDER", folder, MAX_PATH)) GTEST_SKIP() << "no read-only folder given";
  std::wstring settings = std::wstring(folder) + L"Vornquill.ini";
  {
    auto app = App::StartExe(std::wstring(folder) + L"Vornquill2.exe");
    ASSERT_TRUE(WaitUntil([] { return TrayIconCount() == 1; }));
    app->RightPressTrayIcon();
    ASSERT_TRUE(app->ChooseMenuItem({"ランチャー"}));
    ASSERT_TRUE(WaitUntil([&] { return app->OpenMenus().size() == 2; }));
    EXPECT_EQ(app->OpenMenus()[0].items[0].caption, "(なし)");
    app->CloseMenus();
    EXPECT_TRUE(app->Running());
  }
  EXPECT_EQ(GetFileAttributesW(settings.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(WaitUntil([] { return TrayIconCount() == 0; }));
}

}  // namespace
}  // namespace e2e
