#include <gtest/gtest.h>

#include "core/base/RenderMenu.h"
#include "shell/MainMenu.h"

namespace vq::shell {
namespace {

TEST(MainMenu, FirstStartShowsEveryItemInOrder) {
  EXPECT_EQ(Render(BuildMainMenu(launcher::LauncherCaptions{}, {})),
            "DesktopWindow\n"
            "  すべて最小化\n"
            "  元に戻す\n"
            "  このモニターだけ最小化\n"
            "  すべて閉じる\n"
            "-\n"
            "付箋紙\n"
            "  [新規作成]\n"
            "  -\n"
            "  -\n"
            "  はがした付箋紙\n"
            "    (なし)\n"
            "  (設定)\n"
            "-\n"
            "ランチャー\n"
            "  (なし)\n"
            "  -\n"
            "  (設定)\n"
            "-\n"
            "メールチェッカー\n"
            "  メールチェック\n"
            "  -\n"
            "  (設定)\n"
            "-\n"
            "オプション設定\n"
            "-\n"
            "終了\n");
}

TEST(MainMenu, OnlyNamedLauncherEntriesAppearInIndexOrder) {
  launcher::LauncherCaptions captions;
  captions[3] = "メモ帳";
  captions[0] = "Windows";
  Menu menu = BuildMainMenu(captions, {});
  const auto& launch = menu[4].children;
  ASSERT_EQ(launch.size(), 4u);
  EXPECT_EQ(launch[0].caption, "Windows");
  EXPECT_EQ(launch[0].command, LaunchCommand(0));
  EXPECT_EQ(launch[1].caption, "メモ帳");
  EXPECT_EQ(launch[1].command, LaunchCommand(3));
  EXPECT_TRUE(launch[2].separator);
  EXPECT_EQ(launch[3].command, MenuCommand::kLauncherSettings);
}

TEST(MainMenu, HiddenNotesSitBetweenTheNoteSeparators) {
  Menu menu = BuildMainMenu(launcher::LauncherCaptions{}, {{2, "買い物リスト(非表示タグ)"}, {40, "会議(非表示タグ)"}},
                            {{"会議(2026/12/08)"}, {"古い(2026/11/30)"}});
  EXPECT_EQ(Render(menu[2].children),
            "[新規作成]\n-\n買い物リスト(非表示タグ)\n会議(非表示タグ)\n-\nはがした付箋紙\n  会議(2026/12/08)\n  "
            "古い(2026/11/30)\n(設定)\n");
  EXPECT_EQ(menu[2].children[3].command, ShowHiddenNoteCommand(40));
  EXPECT_EQ(menu[2].children[5].children[1].command, RestorePeeledCommand(1));
}

}  // namespace
}  // namespace vq::shell
