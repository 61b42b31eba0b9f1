#include "launcher/Launcher.h"

#include "launcher/LauncherMessages.h"

namespace vq::launcher {

std::string LauncherKey(int entry) { return std::to_string(entry); }

LauncherTable LoadLauncherTable(const Config& config) {
  // A section at a time: at start-up that is two reads of the file instead of forty.
  const ProfileKeys names = config.ReadSection(keys::kLauncherNames);
  const ProfileKeys paths = config.ReadSection(keys::kLauncherPaths);
  LauncherTable table;
  for (int i = 0; i < kLauncherEntryCount; ++i) {
    table[i].name = ValueOf(names, LauncherKey(i));
    table[i].path = ValueOf(paths, LauncherKey(i));
  }
  return table;
}

bool HasNamedEntry(const LauncherTable& table) {
  for (const auto& entry : table)
    if (!entry.name.empty()) return true;
  return false;
}

bool IsFolderTarget(const std::string& path) { return !path.empty() && path.back() == '\\'; }

std::optional<std::string> LaunchCommandLine(const std::string& path) {
  if (path.empty()) return std::nullopt;
  if (IsFolderTarget(path)) return "explorer " + path;
  return path;
}

void Launcher::Reload() {
  table_ = LoadLauncherTable(config_);
  RefreshCaptions();
}

void Launcher::RefreshCaptions() {
  for (int i = 0; i < kLauncherEntryCount; ++i) captions_[i] = table_[i].name;
}

void Launcher::Run(int entry) {
  if (entry < 0 || entry >= kLauncherEntryCount) return;
  const std::string& path = table_[entry].path;
  auto commandLine = LaunchCommandLine(path);
  if (!commandLine) return;
  // The folder window would start whether or not the folder is there (and then fail, or worse):
  // a folder that is not there is a target that cannot be found.
  if (IsFolderTarget(path) && !system_.FolderExists(path)) {
    dialogs_.Message(kFileNotFoundMessage);
    return;
  }
  auto outcome = system_.Run(*commandLine);
  // An entry a user starts from Explorer with a consent prompt (a setup program, an
  // administrator's tool) starts the same way from here.
  if (outcome.result == System::RunResult::kNeedsElevation) outcome = system_.RunThroughShell(*commandLine);
  if (outcome.result == System::RunResult::kNotFound)
    dialogs_.Message(kFileNotFoundMessage);
  else if (outcome.result == System::RunResult::kFailed)
    dialogs_.Message(LaunchFailedMessage(*commandLine, outcome.error));
}

}  // namespace vq::launcher
