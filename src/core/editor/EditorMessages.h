#pragma once
#include <cstddef>
#include <string>
#include <vector>

namespace vq::editor {

inline constexpr char kEditInProgressMessage[] = "他のタグを編集中です。";
inline constexpr char kNothingEnteredMessage[] = "入力されていません";
inline constexpr char kTextTooLongMessage[] =
    "文字が多すぎるため貼り付けられません。付箋紙1枚の文字は4MBまでです。文字を減らしてから貼り付けてください。";

// Names at most ten of the characters, as they were typed.
inline std::string UnstorableCharactersQuestion(const std::vector<std::string>& characters) {
  constexpr std::size_t kNamed = 10;
  std::string named;
  for (std::size_t i = 0; i < characters.size() && i < kNamed; ++i) named += "「" + characters[i] + "」";
  if (characters.size() > kNamed) named += "など";
  return "付箋紙のファイルに保存できない文字があります：" + named + "。別の文字に置き換えて貼り付けますか？";
}

}  // namespace vq::editor
