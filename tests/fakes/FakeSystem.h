#pragma once
#include <map>
#include <set>
#include <string>
#include <vector>

#include "ports/System.h"

namespace vq::test {

class FakeSystem : public System {
 public:
  RunOutcome Run(const std::string& commandLine) override {
    runs.push_back(commandLine);
    return outcome;
  }
  RunOutcome RunThroughShell(const std::string& commandLine) override {
    runs.push_back("shell " + commandLine);
    return shellOutcome;
  }
  bool FolderExists(const std::string& path) const override { return folders.contains(path); }
  bool WriteTextFile(const std::string& path, const std::string& text) override {
    if (failWrites) return false;
    files[path] = text;
    return true;
  }
  DeleteResult RemoveFile(const std::string& path) override {
    if (failDeletes) return DeleteResult::kFailed;
    return files.erase(path) ? DeleteResult::kDeleted : DeleteResult::kMissing;
  }
  std::string ProgramFolder() const override { return folder; }
  void EndProgram() override { ended = true; }

  std::vector<std::string> runs;
  RunOutcome outcome, shellOutcome;
  std::map<std::string, std::string> files;
  std::set<std::string> folders;  // folders that are there, as the launcher names them
  bool failWrites = false, failDeletes = false;
  std::string folder = "C:\\Apps\\Tool";
  bool ended = false;
};

}  // namespace vq::test
