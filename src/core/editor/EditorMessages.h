#pragma once

namespace vq {

inline constexpr char kEditInProgressMessage[] = "他のタグを編集中です。";
inline constexpr char kNothingEnteredMessage[] = "入力されていません";

}  // namespace vq
