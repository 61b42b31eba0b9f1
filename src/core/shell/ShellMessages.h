#pragma once
#include <string>

namespace vq::shell {

// The second start of the program says this and ends.
inline constexpr char kAlreadyRunningMessage[] = "このアプリケーションはすでに開かれています。";
// A start that cannot make the program's hidden window, which holds the tray icon, says this
// with the system's error code and ends.
inline std::string StartFailedMessage(unsigned long error) {
  return "起動できませんでした。ウィンドウを作成できません。\r\n（エラー " + std::to_string(error) + "）";
}

}  // namespace vq::shell
