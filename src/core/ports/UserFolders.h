#pragma once
#include <string>

namespace vq {

class UserFolders {
 public:
  virtual ~UserFolders() = default;
  // The user's Startup folder, or "" when the shell cannot locate it.
  virtual std::string StartupFolder() const = 0;
};

}  // namespace vq
