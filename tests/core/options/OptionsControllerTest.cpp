#include <gtest/gtest.h>

#include "fakes/FakeDialogs.h"
#include "fakes/FakeOptionsView.h"
#include "fakes/FakeProfileFile.h"
#include "fakes/FakeSystem.h"
#include "fakes/FakeUserFolders.h"
#include "fakes/FakeTimers.h"
#include "options/OptionsController.h"
#include "options/OptionsMessages.h"
#include "options/StartupShortcut.h"

namespace vq::options {
namespace {

using test::FakeOptionsView;

class OptionsTest : public ::testing::Test {
 protected:
  OptionsTest() {
    for (const auto& e : DefaultSettings("C:\\")) file.Set(e.section, e.key, e.value);
    file.Set("Lunch0", "2", "メモ帳");
    file.Set("Lunch1", "2", "notepad.exe");
  }
  FakeOptionsView& View() { return *views.live; }
  std::vector<std::string> Written() const {
    std::vector<std::string> out;
    for (const auto& w : file.writes) out.push_back(w.section + "/" + w.key + "=" + w.value);
    return out;
  }

  test::FakeProfileFile file;
  Config config{file};
  test::FakeTimers timers;
  mail::MailSchedule schedule{timers};
  test::FakeUserFolders folders;
  test::FakeSystem system;
  test::FakeDialogs dialogs;
  test::FakeOptionsViews views;
  launcher::Launcher launcher{config, system, dialogs};
  launcher::LauncherTable& table = launcher.Table();
  OptionsController options{{config, launcher, schedule, folders, system, dialogs, views}};
};

TEST_F(OptionsTest, LoadFillsTheFieldsAndAnEmptyPortShows110) {
  file.Set("a1", "b11", "");
  file.Set("a1", "b12", "pop.example.jp");
  file.Set("a1", "b5", "15");
  options.Open(OptionsPage::kGeneral);
  const OptionsValues& v = View().values;
  EXPECT_EQ(v.accounts[1], (mail::MailAccountSettings{"110", "pop.example.jp", "", ""}));
  EXPECT_EQ(v.interval, "15");
  EXPECT_TRUE(v.watchNewWindow);
  EXPECT_TRUE(v.doubleClickMinimises);
  EXPECT_FALSE(v.doubleClickChecksMail);
  EXPECT_EQ(v.fontName, "ＭＳ Ｐゴシック");
  EXPECT_EQ(v.backColor, 0xFFFFFFu);
  EXPECT_EQ(timers.Switches(TimerId::kPeriodicMail), std::vector<bool>{true});
  EXPECT_EQ(table[2], (launcher::LauncherEntry{"メモ帳", "notepad.exe"}));
  EXPECT_EQ(options.Launcher().Selected(), 0);
  EXPECT_TRUE(file.writes.empty());  // opening writes nothing
}

// The new-window watch is ticked by exactly "1", as it is written.
TEST_F(OptionsTest, WatchFlagIsTickedOnlyByExactlyOne) {
  const std::pair<const char*, bool> cases[] = {{"1", true},   {"0", false},  {"01", false},         {"1x", false},
                                                {"+1", false}, {" 1", false}, {"4294967297", false}, {"", false}};
  for (const auto& [text, ticked] : cases) {
    file.Set("a1", "b6", text);
    EXPECT_EQ(LoadOptions(config).watchNewWindow, ticked) << text;
  }
}

TEST_F(OptionsTest, ApplyWritesEverythingExactlyAsTypedInOrderAndStaysOpen) {
  options.Open(OptionsPage::kMail, kMailSettingsSubPage);
  OptionsValues& v = View().values;
  v.accounts[0] = {"995", " pop.example.jp ", "taro", "p@ss"};
  v.interval = "0";
  v.mailer = "D:\\Mail\\mailer.exe";
  v.watchNewWindow = false;
  v.doubleClickMinimises = false;
  v.doubleClickChecksMail = true;
  v.fontSize = "10.5";
  v.backColor = 0x80FFFF;
  options.Launcher().SetName("電卓");
  options.Launcher().SetPath("calc.exe");
  schedule.SetMinuteCounter("4");
  options.Apply();

  auto w = Written();
  ASSERT_EQ(w.size(), 21u + 40u);
  EXPECT_EQ(std::vector<std::string>(w.begin(), w.begin() + 4),
            (std::vector<std::string>{"a1/b01=995", "a1/b02= pop.example.jp ", "a1/b03=taro", "a1/b04=p@ss"}));
  EXPECT_EQ(std::vector<std::string>(w.begin() + 12, w.begin() + 21),
            (std::vector<std::string>{"a1/b5=0", "a1/Mailler=D:\\Mail\\mailer.exe", "a1/b6=0", "a1/b7=False",
                                      "a1/b8=True", "Fusen/FontName=ＭＳ Ｐゴシック", "Fusen/FontSize=10.5",
                                      "Fusen/BackColor=&H80FFFF", "Fusen/ForeColor=&H0"}));
  EXPECT_EQ(w[21], "Lunch0/0=電卓");  // the slot being edited went into the table first
  EXPECT_EQ(w[22], "Lunch1/0=calc.exe");
  EXPECT_EQ(w[25], "Lunch0/2=メモ帳");
  EXPECT_EQ(schedule.MinuteCounter(), "0");
  EXPECT_EQ(timers.Switches(TimerId::kPeriodicMail), (std::vector<bool>{false, false}));  // "b5" of the file, then "0"
  EXPECT_TRUE(options.IsOpen());
  EXPECT_EQ(table[0], (launcher::LauncherEntry{"電卓", "calc.exe"}));
}

// "b05", "b15", "b25" (security) and "b06", "b16", "b26" (protocol): read as the drop-downs'
// choices, written only once a choice other than the first is made or the key is there already,
// and a text this program does not know is kept.
TEST_F(OptionsTest, SecurityAndProtocolKeysAreReadAndWrittenOnlyWhenTheyMatter) {
  struct Row {
    char field;          // '5' security, '6' protocol
    const char* stored;  // nullptr: no key
    int shown;           // MailSecurity or MailProtocol
    int chosen;
    const char* written;  // nullptr: not written
  };
  constexpr int kFirst = 0, kSecond = 1, kThird = 2, kUnknownSecurity = 3, kUnknownProtocol = 2;
  const Row rows[] = {
      {'5', nullptr, kFirst, kFirst, nullptr},
      {'5', nullptr, kFirst, kSecond, "1"},
      {'5', nullptr, kFirst, kThird, "2"},
      {'5', "1", kSecond, kFirst, "0"},
      {'5', "0", kFirst, kFirst, "0"},
      {'5', "2", kThird, kThird, "2"},
      {'5', "3", kUnknownSecurity, kUnknownSecurity, nullptr},
      {'5', " 1", kUnknownSecurity, kSecond, "1"},
      {'6', nullptr, kFirst, kFirst, nullptr},
      {'6', nullptr, kFirst, kSecond, "1"},
      {'6', "1", kSecond, kFirst, "0"},
      {'6', "0", kFirst, kFirst, "0"},
      {'6', "2", kUnknownProtocol, kUnknownProtocol, nullptr},
      {'6', "imap", kUnknownProtocol, kSecond, "1"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(::testing::Message() << row.field << " " << (row.stored ? row.stored : "no key"));
    test::FakeProfileFile f;
    for (const auto& e : DefaultSettings("C:\\")) f.Set(e.section, e.key, e.value);
    const std::string key = std::string("b1") + row.field;
    if (row.stored) f.Set("a1", key, row.stored);
    Config c{f};
    OptionsValues v = LoadOptions(c);
    mail::MailAccountSettings& a = v.accounts[1];
    EXPECT_EQ(row.field == '5' ? static_cast<int>(a.security) : static_cast<int>(a.protocol), row.shown);
    EXPECT_TRUE(v.accounts[0].security == MailSecurity::kNone && v.accounts[0].protocol == MailProtocol::kPop3);
    if (row.field == '5')
      a.security = static_cast<MailSecurity>(row.chosen);
    else
      a.protocol = static_cast<MailProtocol>(row.chosen);
    ASSERT_TRUE(SaveOptions(c, v));
    std::vector<std::string> choiceWrites;
    for (const auto& w : f.writes)
      if (w.key.size() == 3 && (w.key.ends_with('5') || w.key.ends_with('6')))
        choiceWrites.push_back(w.key + "=" + w.value);
    EXPECT_EQ(choiceWrites,
              row.written ? std::vector<std::string>{key + "=" + row.written} : std::vector<std::string>{});
  }
}

// Choosing "SSL/TLS" moves the usual port 110 to 995, any other choice moves 995 back, and IMAP
// has 143 and 993 instead; a port the user typed stays.
TEST(OptionsModel, PortFollowsTheSecurityChoiceOnlyFromTheUsualPorts) {
  constexpr auto kPop3 = MailProtocol::kPop3, kImap = MailProtocol::kImap;
  constexpr auto kNone = MailSecurity::kNone, kTls = MailSecurity::kTls, kStartTls = MailSecurity::kStartTls;
  const std::tuple<const char*, MailProtocol, MailSecurity, const char*> rows[] = {
      {"110", kPop3, kTls, "995"},      {"995", kPop3, kNone, "110"},     {"995", kPop3, kStartTls, "110"},
      {"110", kPop3, kStartTls, "110"}, {"2110", kPop3, kTls, "2110"},    {"995", kPop3, kTls, "995"},
      {"0110", kPop3, kTls, "0110"},    {"110", kImap, kStartTls, "143"}, {"995", kImap, kTls, "993"},
      {"993", kPop3, kTls, "995"},      {"143", kImap, kTls, "993"},      {"143", MailProtocol::kUnknown, kNone, "143"},
  };
  for (const auto& [port, protocol, security, moved] : rows)
    EXPECT_EQ(PortAfterMailChoice(port, protocol, security), moved) << port << " " << static_cast<int>(protocol);
}

TEST_F(OptionsTest, OkSavesAndClosesAndEveryCloseRemembersThePlace) {
  options.Open(OptionsPage::kGeneral);
  View().values.interval = "5";
  options.Ok();
  EXPECT_FALSE(options.IsOpen());
  EXPECT_EQ(file.Read("a1", "b5"), "5");
  EXPECT_EQ(timers.Switches(TimerId::kPeriodicMail).back(), true);
  EXPECT_EQ(file.Read("Option", "Top"), "600");
  EXPECT_EQ(file.Read("Option", "Left"), "900");
}

TEST_F(OptionsTest, CancelAfterApplyKeepsWhatApplyWroteAndUndoesUnregisteredLauncherEdits) {
  options.Open(OptionsPage::kLauncher);
  View().values.interval = "7";
  options.Apply();
  View().values.interval = "9";
  options.Launcher().PressSlot(2);
  options.Launcher().Erase();
  EXPECT_EQ(table[2], launcher::LauncherEntry{});
  options.Cancel();
  EXPECT_FALSE(options.IsOpen());
  EXPECT_EQ(file.Read("a1", "b5"), "7");
  EXPECT_EQ(table[2], (launcher::LauncherEntry{"メモ帳", "notepad.exe"}));
  EXPECT_EQ(file.Read("Option", "Top"), "600");
}

TEST_F(OptionsTest, CloseBoxNeitherSavesNorRestores) {
  options.Open(OptionsPage::kLauncher);
  View().values.interval = "9";
  options.Launcher().PressSlot(2);
  options.Launcher().Erase();
  file.writes.clear();
  options.CloseBox();
  EXPECT_EQ(Written(), (std::vector<std::string>{"Option/Top=600", "Option/Left=900"}));
  EXPECT_EQ(table[2], launcher::LauncherEntry{});
  // Not moved: the saved place stays, whatever the window had to correct.
  file.Set("Option", "Top", "12abc");
  options.Open(OptionsPage::kGeneral);
  View().movedTo.reset();
  file.writes.clear();
  options.CloseBox();
  EXPECT_EQ(Written(), (std::vector<std::string>{"Option/Top=12", "Option/Left=900"}));
}

TEST_F(OptionsTest, MailSettingsComeFromTheDialogWhileItIsOpenAndFromTheFileOtherwise) {
  file.Set("a1", "b11", "");
  file.Set("a1", "b5", "15");
  const int before = file.reads;
  EXPECT_EQ(options.Account(1), (mail::MailAccountSettings{"110", "", "", ""}));
  EXPECT_EQ(options.Interval(), "15");
  EXPECT_EQ(file.reads - before, 7);  // the account's six keys and the interval, no other
  options.Open(OptionsPage::kGeneral);
  View().values.accounts[0].host = "typed.example.jp";
  View().values.interval = "7";
  EXPECT_EQ(options.Account(0).host, "typed.example.jp");
  EXPECT_EQ(options.Interval(), "7");
  options.Cancel();
  EXPECT_EQ(options.Account(0).host, "");
}

TEST_F(OptionsTest, IntervalFieldTakesDigitsAndBackspaceOnly) {
  for (char32_t c : {U'0', U'5', U'9', char32_t{8}}) EXPECT_TRUE(AcceptIntervalKey(c));
  for (char32_t c : {U'a', U'-', U' ', U'.', U'５'}) EXPECT_FALSE(AcceptIntervalKey(c));
  EXPECT_EQ(kIntervalMaxLength, 3u);
  EXPECT_EQ(FontSizeText(105), "10.5");
  EXPECT_EQ(FontSizeText(90), "9");
}

class LauncherEditorTest : public OptionsTest {};

TEST_F(LauncherEditorTest, PressingASlotCommitsTheFieldsToTheTableButNotTheFile) {
  options.Open(OptionsPage::kLauncher);
  LauncherEditor& editor = options.Launcher();
  editor.PressSlot(2);
  EXPECT_EQ(editor.Name(), "メモ帳");
  EXPECT_TRUE(editor.Pending());  // a complete slot shows red
  editor.SetName("ワード");
  editor.SetPath("winword.exe /n");
  editor.PressSlot(4);
  EXPECT_EQ(table[2], (launcher::LauncherEntry{"ワード", "winword.exe /n"}));
  EXPECT_EQ(file.Read("Lunch0", "2"), "メモ帳");
  EXPECT_FALSE(editor.Pending());
  editor.SetName("only a name");
  EXPECT_FALSE(editor.Pending());
  editor.SetPath("x.exe");
  EXPECT_TRUE(editor.Pending());
  editor.SelectSlot(2);  // the keyboard shows a slot without committing
  EXPECT_EQ(table[4], launcher::LauncherEntry{});
}

TEST_F(LauncherEditorTest, RegisterWritesAllTwentyEntriesAndRebuildsTheMenu) {
  options.Open(OptionsPage::kLauncher);
  LauncherEditor& editor = options.Launcher();
  editor.PressSlot(2);
  editor.SetName("電卓");
  editor.SetPath("calc.exe");
  file.writes.clear();
  EXPECT_EQ(launcher.Captions()[2], "メモ帳");  // the menu waits for the registration
  options.RegisterLauncher();
  EXPECT_EQ(file.writes.size(), 40u);
  EXPECT_EQ(file.Read("Lunch0", "2"), "電卓");
  EXPECT_EQ(file.Read("Lunch1", "19"), "");
  EXPECT_EQ(launcher.Captions()[2], "電卓");
  EXPECT_FALSE(editor.Pending());
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(LauncherEditorTest, RegisteringWithoutANameWritesNothing) {
  options.Open(OptionsPage::kLauncher);
  options.Launcher().PressSlot(2);
  options.Launcher().Erase();
  file.writes.clear();
  options.RegisterLauncher();
  EXPECT_EQ(dialogs.messages, std::vector<std::string>{"名前を付けてください。"});
  EXPECT_EQ(dialogs.about, std::vector<const BoxOwner*>{views.live});
  EXPECT_TRUE(file.writes.empty());
}

TEST_F(LauncherEditorTest, FolderTargetsEndInOneBackslash) {
  EXPECT_EQ(LauncherEditor::FolderTarget("C:\\Tools"), "C:\\Tools\\");
  EXPECT_EQ(LauncherEditor::FolderTarget("D:\\"), "D:\\");
}

TEST_F(OptionsTest, StartupShortcutIsWrittenAndRemovedWithItsMessages) {
  EXPECT_EQ(StartupShortcutText("C:\\Apps\\Tool"),
            "[InternetShortcut]\r\nURL=C:\\Apps\\Tool\\Vornquill2.exe\r\nIconFile=C:\\Apps\\Tool\\Vornquill2.exe\r\n"
            "IconIndex=0\r\n");
  // At a drive root the folder already ends in "\".
  EXPECT_EQ(StartupShortcutText("D:\\"),
            "[InternetShortcut]\r\nURL=D:\\Vornquill2.exe\r\nIconFile=D:\\Vornquill2.exe\r\nIconIndex=0\r\n");
  std::string path = folders.startup + "\\Vornquill2.url";
  options.RegisterStartup();
  EXPECT_EQ(system.files[path], StartupShortcutText("C:\\Apps\\Tool"));
  options.RemoveStartup();
  options.RemoveStartup();
  EXPECT_EQ(dialogs.messages,
            (std::vector<std::string>{"スタートアップに登録しました。", "スタートアップから削除しました。",
                                      "ファイルが見つかりません。"}));
  system.failWrites = true;
  options.RegisterStartup();
  EXPECT_NE(dialogs.messages.back().find(path), std::string::npos);
  folders.startup = "";
  options.RegisterStartup();
  EXPECT_EQ(dialogs.messages.back(), "スタートアップフォルダが見つかりません。");
}

}  // namespace
}  // namespace vq::options
