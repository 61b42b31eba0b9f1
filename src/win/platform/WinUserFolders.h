#pragma once
#include "ports/UserFolders.h"

namespace vq::win {

class WinUserFolders : public UserFolders {
 public:
  std::string StartupFolder() const override;
};

}  // namespace vq::win
