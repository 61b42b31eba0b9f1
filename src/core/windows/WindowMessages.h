#pragma once
#include <string_view>

namespace vq::windows {

// Asked before close all sends its close requests; Yes and No.
inline constexpr std::string_view kCloseAllQuestion = "すべてのウィンドウを閉じますか？";

}  // namespace vq::windows
