#pragma once

namespace vq {

// Said by more than one feature, so it is written once.
inline constexpr char kFileNotFoundMessage[] = "ファイルが見つかりません。";

}  // namespace vq
