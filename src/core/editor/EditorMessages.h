#pragma once

namespace vq {

inline constexpr char kEditInProgressMessage[] = "他のタグを編集中です。";
inline constexpr char kNothingEnteredMessage[] = "入力されていません";
inline constexpr char kTextTooLongMessage[] =
    "文字が多すぎるため貼り付けられません。付箋紙1枚の文字は4MBまでです。文字を減らしてから貼り付けてください。";

}  // namespace vq
