#pragma once
#include <string>

#include "ports/System.h"

namespace vq::win {

class WinSystem : public System {
 public:
  explicit WinSystem(std::wstring programFolder) : programFolder_(std::move(programFolder)) {}  // ends in "\"

  RunOutcome Run(const std::string& commandLine) override;
  RunOutcome RunThroughShell(const std::string& commandLine) override;
  bool FolderExists(const std::string& path) const override;
  bool WriteTextFile(const std::string& path, const std::string& text) override;
  DeleteResult RemoveFile(const std::string& path) override;
  std::string ProgramFolder() const override;
  void EndProgram() override;

 private:
  std::wstring programFolder_;
};

}  // namespace vq::win
