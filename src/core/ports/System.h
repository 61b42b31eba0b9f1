#pragma once
#include <string>

namespace vq {

// Starting programs and touching files outside the program folder.
class System {
 public:
  // kNeedsElevation: the program asks for administrator rights, which a direct start cannot give;
  // kDeclined: the user said no to the system's question about them.
  enum class RunResult { kStarted, kNotFound, kNeedsElevation, kDeclined, kFailed };
  struct RunOutcome {
    RunResult result = RunResult::kStarted;
    unsigned long error = 0;  // the platform's error code when it failed
  };
  enum class DeleteResult { kDeleted, kMissing, kFailed };

  virtual ~System() = default;
  // Runs a command line as it is (no quoting, no file associations), in a normal focused
  // window, without waiting for it.
  virtual RunOutcome Run(const std::string& commandLine) = 0;
  // Runs the program the command line names as Explorer does on a double-click: one that needs
  // administrator rights gets the system's question first.
  virtual RunOutcome RunThroughShell(const std::string& commandLine) = 0;
  // True when the path names a folder that is there.
  virtual bool FolderExists(const std::string& path) const = 0;
  // Writes a whole file in the ANSI code page; false when it could not be written.
  [[nodiscard]] virtual bool WriteTextFile(const std::string& path, const std::string& text) = 0;
  virtual DeleteResult RemoveFile(const std::string& path) = 0;
  // The folder of the running program, without a trailing "\" except at a drive root.
  virtual std::string ProgramFolder() const = 0;
  // Ends the process at once: no window gets to run its closing code.
  virtual void EndProgram() = 0;
};

}  // namespace vq
