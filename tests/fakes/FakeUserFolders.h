#pragma once
#include <string>

#include "ports/UserFolders.h"

namespace vq::test {

class FakeUserFolders : public UserFolders {
 public:
  std::string StartupFolder() const override { return startup; }
  std::string startup = "C:\\Users\\taro\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Startup";
};

}  // namespace vq::test
