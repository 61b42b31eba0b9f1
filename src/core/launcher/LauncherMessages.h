#pragma once
#include <string>

#include "base/SharedMessages.h"

namespace vq::launcher {

inline std::string LaunchFailedMessage(const std::string& commandLine, unsigned long error) {
  return "プログラムを起動できませんでした。\r\n" + commandLine + "\r\n（エラー " + std::to_string(error) + "）";
}

}  // namespace vq::launcher
