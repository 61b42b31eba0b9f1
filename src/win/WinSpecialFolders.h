#pragma once
#include "ports/SpecialFolders.h"

namespace vq::win {

class WinSpecialFolders : public SpecialFolders {
 public:
  std::string StartupFolder() const override;
};

}  // namespace vq::win
