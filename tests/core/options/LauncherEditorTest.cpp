#include <gtest/gtest.h>

#include "core/options/OptionsTest.h"

namespace vq::options {
namespace {

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

}  // namespace
}  // namespace vq::options
