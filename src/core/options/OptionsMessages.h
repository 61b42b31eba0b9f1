#pragma once
#include <string>

#include "base/SharedMessages.h"

namespace vq::options {

inline constexpr char kRegisteredMessage[] = "スタートアップに登録しました。";
inline constexpr char kRemovedMessage[] = "スタートアップから削除しました。";
inline constexpr char kNoStartupFolderMessage[] = "スタートアップフォルダが見つかりません。";
inline constexpr char kNeedsNameMessage[] = "名前を付けてください。";
inline constexpr char kSettingsNotSavedMessage[] = "設定を保存できませんでした。Vornquill.ini に書き込めません。";
inline constexpr char kLauncherNotSavedMessage[] = "ランチャーを保存できませんでした。Vornquill.ini に書き込めません。";

inline std::string RegisterFailedMessage(const std::string& path) {
  return "スタートアップに登録できませんでした。\r\n" + path + " に書き込めません。";
}
inline std::string RemoveFailedMessage(const std::string& path) {
  return "スタートアップから削除できませんでした。\r\n" + path + " を削除できません。";
}

}  // namespace vq::options
