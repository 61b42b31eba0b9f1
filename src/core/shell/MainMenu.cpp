#include "shell/MainMenu.h"

namespace vq::shell {

Menu BuildMainMenu(const launcher::LauncherCaptions& launcher, const std::vector<notes::HiddenNoteEntry>& hiddenNotes,
                   const std::vector<notes::PeeledNoteEntry>& peeledNotes) {
  using C = MenuCommand;
  Menu desktop = {
      MenuItem::Command("すべて最小化", C::kMinimiseAll),
      MenuItem::Command("元に戻す", C::kRestoreAll),
      MenuItem::Command("このモニターだけ最小化", C::kMinimiseThisMonitor),
      MenuItem::Command("すべて閉じる", C::kCloseAll),
  };

  Menu notes = {MenuItem::Command("[新規作成]", C::kNewNote), MenuItem::Separator()};
  for (const auto& hidden : hiddenNotes)
    notes.push_back(MenuItem::Command(hidden.caption, ShowHiddenNoteCommand(hidden.number)));
  notes.push_back(MenuItem::Separator());
  Menu peeled;
  for (std::size_t i = 0; i < peeledNotes.size(); ++i)
    peeled.push_back(MenuItem::Command(peeledNotes[i].caption, RestorePeeledCommand(static_cast<int>(i))));
  if (peeled.empty()) peeled.push_back(MenuItem::Command("(なし)", C::kPeeledNone));
  notes.push_back(MenuItem::Submenu("はがした付箋紙", std::move(peeled)));
  notes.push_back(MenuItem::Command("(設定)", C::kNoteSettings));

  Menu launch;
  for (int i = 0; i < launcher::kLauncherEntryCount; ++i)
    if (!launcher[i].empty()) launch.push_back(MenuItem::Command(launcher[i], LaunchCommand(i)));
  if (launch.empty()) launch.push_back(MenuItem::Command("(なし)", C::kLauncherNone));
  launch.push_back(MenuItem::Separator());
  launch.push_back(MenuItem::Command("(設定)", C::kLauncherSettings));

  Menu mail = {
      MenuItem::Command("メールチェック", C::kCheckMail),
      MenuItem::Separator(),
      MenuItem::Command("(設定)", C::kMailSettings),
  };

  return {
      MenuItem::Submenu("DesktopWindow", std::move(desktop)),
      MenuItem::Separator(),
      MenuItem::Submenu("付箋紙", std::move(notes)),
      MenuItem::Separator(),
      MenuItem::Submenu("ランチャー", std::move(launch)),
      MenuItem::Separator(),
      MenuItem::Submenu("メールチェッカー", std::move(mail)),
      MenuItem::Separator(),
      MenuItem::Command("オプション設定", C::kOptions),
      MenuItem::Separator(),
      MenuItem::Command("終了", C::kExit),
  };
}

}  // namespace vq::shell
