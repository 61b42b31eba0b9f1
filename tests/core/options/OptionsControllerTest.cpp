#include <gtest/gtest.h>

#include "core/options/OptionsTest.h"

namespace vq::options {
namespace {

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

}  // namespace
}  // namespace vq::options
