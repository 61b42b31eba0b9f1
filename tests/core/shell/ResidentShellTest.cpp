#include <gtest/gtest.h>

#include "fakes/ShellRig.h"

namespace vq::shell {
namespace {

class ResidentShellTest : public ::testing::Test, protected test::ShellRig {};

TEST_F(ResidentShellTest, FirstStartWritesDefaultsThenAddsTheIconAndStaysQuiet) {
  shell.Start();
  EXPECT_EQ(file.writes.size(), 27u);
  EXPECT_EQ(tray.calls, std::vector<std::string>{"add-icon"});
  EXPECT_TRUE(tray.shown);
  EXPECT_FALSE(timers.Runs(TimerId::kPeriodicMail));  // "b5" is "0"
  EXPECT_FALSE(timers.Runs(TimerId::kTrayRetry));
  EXPECT_EQ(shell.MainMenu()[4].children[0].caption, "(なし)");
}

TEST_F(ResidentShellTest, ExistingFileIsOnlyRead) {
  file.Set("a1", "b5", "5");
  file.Set("Lunch0", "2", "メモ帳");
  file.Set("Lunch1", "2", "notepad.exe C:\\メモ.txt");
  file.Set("Lunch1", "4", "C:\\Windows\\");
  shell.Start();
  EXPECT_TRUE(file.writes.empty());
  EXPECT_TRUE(timers.Runs(TimerId::kPeriodicMail));
  const Menu menu = shell.MainMenu();
  const auto& launch = menu[4].children;
  ASSERT_EQ(launch.size(), 3u);
  EXPECT_EQ(launch[0].caption, "メモ帳");
  system.folders = {"C:\\Windows\\"};
  shell.OnCommand(LaunchCommand(2));
  shell.OnCommand(LaunchCommand(4));
  EXPECT_EQ(system.runs, (std::vector<std::string>{"notepad.exe C:\\メモ.txt", "explorer C:\\Windows\\"}));
}

TEST_F(ResidentShellTest, PeriodicCheckStaysOffForZeroOrMissingInterval) {
  for (const char* interval : {"0", ""}) {
    test::ShellRig rig;
    rig.file.Set("a1", "b5", interval);
    rig.shell.Start();
    EXPECT_FALSE(rig.timers.Runs(TimerId::kPeriodicMail)) << interval;
  }
}

TEST_F(ResidentShellTest, RightPressPopsUpTheMainMenuAndOtherMouseMessagesAreIgnored) {
  shell.Start();
  tray.calls.clear();
  for (TrayMouse m : {TrayMouse::kMove, TrayMouse::kLeftPress, TrayMouse::kLeftRelease, TrayMouse::kRightRelease,
                      TrayMouse::kRightDoubleClick}) {
    EXPECT_EQ(shell.OnTrayMouse(static_cast<int>(m)), TrayResponse::kIgnored);
  }
  EXPECT_EQ(shell.OnTrayMouse(0x207), TrayResponse::kIgnored);  // middle button
  EXPECT_TRUE(tray.calls.empty());

  EXPECT_EQ(shell.OnTrayMouse(static_cast<int>(TrayMouse::kRightPress)), TrayResponse::kMenuShown);
  ASSERT_EQ(tray.shownMenus.size(), 1u);
  EXPECT_EQ(tray.shownMenus[0], shell.MainMenu());
}

TEST_F(ResidentShellTest, DoubleClickReadsTheSettingAtEveryClick) {
  file.MakeEmptyFile();
  shell.Start();
  const int dbl = static_cast<int>(TrayMouse::kLeftDoubleClick);
  EXPECT_EQ(shell.OnTrayMouse(dbl), TrayResponse::kCheckMail);  // no "b7" at all
  file.Set("a1", "b7", "True");
  EXPECT_EQ(shell.OnTrayMouse(dbl), TrayResponse::kToggleMinimiseAll);
  file.Set("a1", "b7", "true");
  EXPECT_EQ(shell.OnTrayMouse(dbl), TrayResponse::kCheckMail);
  file.Set("a1", "b7", "False");
  EXPECT_EQ(shell.OnTrayMouse(dbl), TrayResponse::kCheckMail);
  EXPECT_TRUE(file.writes.empty());
}

TEST_F(ResidentShellTest, ExitFromTheMenuRemovesTheIconAndEndsEvenDuringAMailCheck) {
  shell.Start();
  shell.MailSchedule().SetBusy(true);
  tray.calls.clear();
  tray.choice = MenuCommand::kExit;
  shell.OnTrayMouse(static_cast<int>(TrayMouse::kRightPress));
  EXPECT_EQ(tray.calls, (std::vector<std::string>{"popup", "remove-icon"}));
  EXPECT_TRUE(system.ended);
  EXPECT_EQ(file.writes.size(), 27u);  // nothing saved at exit
}

TEST_F(ResidentShellTest, CloseRequestIsRefusedWithOneBeepPerRequestWhileMailIsChecked) {
  shell.Start();
  tray.calls.clear();
  shell.MailSchedule().SetBusy(true);
  EXPECT_FALSE(shell.OnCloseRequest());
  EXPECT_FALSE(shell.OnCloseRequest());
  EXPECT_EQ(dialogs.beeps, 2);
  EXPECT_TRUE(tray.calls.empty());
  EXPECT_TRUE(tray.shown);

  shell.MailSchedule().SetBusy(false);
  EXPECT_TRUE(shell.OnCloseRequest());
  EXPECT_EQ(tray.calls, (std::vector<std::string>{"remove-icon"}));
  EXPECT_TRUE(system.ended);
}

TEST_F(ResidentShellTest, StartRestoresNotesAndListsHiddenOnesInTheMenu) {
  noteFiles.files["Vornquill1.hsn"] = test::RecordText(test::SampleRecord("False"));
  noteFiles.files["Vornquill1.log"] = "買い物リスト：牛乳、卵\r\n";
  noteFiles.files["Vornquill4.hsn"] = test::RecordText(test::SampleRecord());
  noteFiles.files["Vornquill4.log"] = "会議\r\n";
  shell.Start();
  EXPECT_EQ(std::ssize(noteViews.live), 1);
  const Menu menu = shell.MainMenu();
  ASSERT_EQ(menu[2].children.size(), 6u);
  EXPECT_EQ(menu[2].children[2].caption, "買い物リスト：(非表示タグ)");

  // Choosing the entry shows the note and takes the entry away.
  tray.choice = ShowHiddenNoteCommand(1);
  shell.OnTrayMouse(static_cast<int>(TrayMouse::kRightPress));
  EXPECT_EQ(std::ssize(noteViews.live), 2);
  EXPECT_EQ(shell.MainMenu()[2].children.size(), 5u);

  // "編集" on a note's own menu reaches the editor through the shell.
  auto& note = *noteViews.live.at(1);
  note.menuChoice = MenuCommand::kNoteEdit;
  shell.OnNotePress(note, notes::MouseButton::kRight);
  ASSERT_NE(editorViews.live, nullptr);
  EXPECT_EQ(editorViews.live->content.text, "買い物リスト：牛乳、卵");
  EXPECT_EQ(std::ssize(noteViews.live), 1);
}

// What choosing an entry starts, by its path and by what is on the disk.
TEST_F(ResidentShellTest, LauncherRunsCommandLinesAndOpensFoldersThatAreThere) {
  struct Case {
    const char* path;
    System::RunOutcome outcome;  // what starting it gives
    std::vector<std::string> runs;
    const char* message;            // nullptr: none
    System::RunOutcome shell = {};  // what starting it through the shell gives
  };
  const char* kNotFound = "ファイルが見つかりません。";
  const Case cases[] = {
      {"notepad.exe C:\\memo.txt", {}, {"notepad.exe C:\\memo.txt"}, nullptr},
      {"C:\\Windows\\", {}, {"explorer C:\\Windows\\"}, nullptr},
      {"", {}, {}, nullptr},  // a name without a path does nothing
      // A folder that is not there is never handed to a folder window.
      {"C:\\nowhere\\", {}, {}, kNotFound},
      {"C:\\nowhere\\missing.exe", {System::RunResult::kNotFound, 2}, {"C:\\nowhere\\missing.exe"}, kNotFound},
      {"C:\\Windows\\win.ini",
       {System::RunResult::kFailed, 193},
       {"C:\\Windows\\win.ini"},
       "プログラムを起動できませんでした。\r\nC:\\Windows\\win.ini\r\n（エラー 193）"},
      // One that needs administrator rights starts as Explorer would start it, with its question.
      {"setup.exe", {System::RunResult::kNeedsElevation, 740}, {"setup.exe", "shell setup.exe"}, nullptr},
      {"setup.exe",
       {System::RunResult::kNeedsElevation, 740},
       {"setup.exe", "shell setup.exe"},
       "プログラムを起動できませんでした。\r\nsetup.exe\r\n（エラー 5）",
       {System::RunResult::kFailed, 5}},
  };
  system.folders = {"C:\\Windows\\"};
  for (int i = 0; i < static_cast<int>(std::size(cases)); ++i) {
    file.Set("Lunch0", std::to_string(i), "entry");
    file.Set("Lunch1", std::to_string(i), cases[i].path);
  }
  shell.Start();
  for (int i = 0; i < static_cast<int>(std::size(cases)); ++i) {
    SCOPED_TRACE(cases[i].path);
    system.runs.clear();
    dialogs.messages.clear();
    system.outcome = cases[i].outcome;
    system.shellOutcome = cases[i].shell;
    shell.OnCommand(LaunchCommand(i));
    EXPECT_EQ(system.runs, cases[i].runs);
    EXPECT_EQ(dialogs.messages,
              cases[i].message ? std::vector<std::string>{cases[i].message} : std::vector<std::string>{});
  }
  system.runs.clear();
  shell.OnCommand(MenuCommand::kLauncherNone);
  EXPECT_TRUE(system.runs.empty());
}

TEST_F(ResidentShellTest, MenuItemsOpenTheOptionsOnTheirPage) {
  shell.Start();
  shell.OnCommand(MenuCommand::kMailSettings);
  ASSERT_NE(optionsViews.live, nullptr);
  EXPECT_EQ(optionsViews.live->page, options::OptionsPage::kMail);
  EXPECT_EQ(optionsViews.live->mailSubPage, options::kMailSettingsSubPage);
  for (auto [command, page] : {std::pair{MenuCommand::kOptions, options::OptionsPage::kGeneral},
                               std::pair{MenuCommand::kLauncherSettings, options::OptionsPage::kLauncher},
                               std::pair{MenuCommand::kNoteSettings, options::OptionsPage::kNotes}}) {
    shell.OnCommand(command);
    EXPECT_EQ(optionsViews.live->page, page);
  }
  EXPECT_EQ(optionsViews.created, 1);  // an open dialog is brought forward, not made again
}

TEST_F(ResidentShellTest, OptionsDialogSwitchesThePeriodicCheckAndClearsTheBusyMark) {
  file.Set("a1", "b5", "0");
  shell.Start();
  shell.MailSchedule().SetBusy(true);
  file.Set("a1", "b5", "10");
  shell.OnCommand(MenuCommand::kOptions);
  EXPECT_FALSE(shell.MailSchedule().Busy());
  EXPECT_TRUE(timers.Runs(TimerId::kPeriodicMail));
  optionsViews.live->values.interval = "";
  optionsViews.controller->Ok();
  EXPECT_FALSE(timers.Runs(TimerId::kPeriodicMail));
}

// The tray and the menu reach the mail check and the window operations; their timers come back
// to them through the shell.
TEST_F(ResidentShellTest, MailAndWindowCommandsReachTheirFeatures) {
  file.Set("a1", "b03", "taro");
  file.Set("a1", "b02", "127.0.0.1");
  file.Set("a1", "b04", "secret");
  desktop.Open("メモ帳");
  shell.Start();

  shell.OnCommand(MenuCommand::kCheckMail);
  ASSERT_EQ(sockets[0].connects.size(), 1u);
  EXPECT_EQ(sockets[0].connects[0], (std::pair<std::string, int>{"127.0.0.1", 110}));
  EXPECT_TRUE(shell.MailSchedule().Busy());
  ASSERT_NE(mailViews.live, nullptr);

  // "b7" is not "True": the double-click checks mail too (here it only beeps: one runs).
  file.Set("a1", "b7", "False");
  EXPECT_EQ(shell.OnTrayMouse(static_cast<int>(TrayMouse::kLeftDoubleClick)), TrayResponse::kCheckMail);
  EXPECT_EQ(dialogs.beeps, 1);
  EXPECT_FALSE(shell.OnCloseRequest());  // a session runs

  shell.OnCommand(MenuCommand::kMinimiseAll);
  EXPECT_TRUE(desktop.Find("メモ帳")->facts.minimised);
  shell.OnCommand(MenuCommand::kRestoreAll);
  EXPECT_FALSE(desktop.Find("メモ帳")->facts.minimised);
  desktop.Open("右").facts.monitor = desktop.pointerMonitor = MonitorId{2};
  tray.duringPopup = [&] { desktop.pointerMonitor = {}; };  // it counts where the menu opened
  tray.choice = MenuCommand::kMinimiseThisMonitor;
  shell.OnTrayMouse(static_cast<int>(TrayMouse::kRightPress));
  EXPECT_TRUE(desktop.Find("右")->facts.minimised && !desktop.Find("メモ帳")->facts.minimised);

  file.Set("a1", "b7", "True");
  file.Set("a1", "b6", "1");
  EXPECT_EQ(shell.OnTrayMouse(static_cast<int>(TrayMouse::kLeftDoubleClick)), TrayResponse::kToggleMinimiseAll);
  EXPECT_TRUE(desktop.Find("メモ帳")->facts.minimised);
  EXPECT_TRUE(timers.Runs(TimerId::kWatchNewWindow));
  desktop.Open("新しい窓");
  shell.OnTimer(TimerId::kWatchNewWindow);
  EXPECT_FALSE(timers.Runs(TimerId::kWatchNewWindow));
  EXPECT_TRUE(timers.Runs(TimerId::kMinimiseNewWindow));

  dialogs.answerYes = false;
  shell.OnCommand(MenuCommand::kCloseAll);
  EXPECT_EQ(dialogs.questions.back(), "すべてのウィンドウを閉じますか？");
}

TEST_F(ResidentShellTest, IconIsRetriedUntilTheShellTakesIt) {
  tray.accepts = {false, false, true};
  shell.Start();
  EXPECT_FALSE(tray.shown);
  EXPECT_TRUE(timers.Runs(TimerId::kTrayRetry));
  shell.OnTimer(TimerId::kTrayRetry);
  EXPECT_TRUE(timers.Runs(TimerId::kTrayRetry));
  shell.OnTimer(TimerId::kTrayRetry);
  EXPECT_TRUE(tray.shown);
  EXPECT_FALSE(timers.Runs(TimerId::kTrayRetry));
}

TEST_F(ResidentShellTest, RetriesStopAfterTheLimit) {
  tray.accepts.assign(ResidentShell::kTrayRetryLimit + 5, false);
  shell.Start();
  int attempts = 1;
  while (timers.Runs(TimerId::kTrayRetry) && attempts < 1000) {
    shell.OnTimer(TimerId::kTrayRetry);
    ++attempts;
  }
  EXPECT_EQ(attempts, ResidentShell::kTrayRetryLimit + 1);
  EXPECT_FALSE(tray.shown);
}

TEST_F(ResidentShellTest, TaskbarRestartAddsTheIconAgain) {
  shell.Start();
  tray.calls.clear();
  shell.OnTaskbarCreated();
  EXPECT_EQ(tray.calls, std::vector<std::string>{"add-icon"});
  EXPECT_TRUE(tray.shown);
}

}  // namespace
}  // namespace vq::shell
