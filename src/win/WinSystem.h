#pragma once
#include "ports/System.h"

namespace vq::win {

class WinSystem : public System {
 public:
  RunOutcome Run(const std::string& commandLine) override;
  bool WriteTextFile(const std::string& path, const std::string& text) override;
  DeleteResult RemoveFile(const std::string& path) override;
  std::string ProgramFolder() const override;
};

// Writes text in the ANSI code page through a temporary file beside the target, so that a
// failure leaves the old file as it was.
bool WriteAnsiFileSafely(const std::wstring& path, const std::string& utf8);

}  // namespace vq::win
