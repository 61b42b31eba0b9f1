#include "shell/Launcher.h"

#include "config/Config.h"

namespace vq {

std::string LauncherKey(int entry) { return std::to_string(entry); }

LauncherTable LoadLauncherTable(const Config& config) {
  LauncherTable table;
  for (int i = 0; i < kLauncherEntryCount; ++i) {
    table[i].name = config.ReadOption(keys::kLauncherNames, LauncherKey(i));
    table[i].path = config.ReadOption(keys::kLauncherPaths, LauncherKey(i));
  }
  return table;
}

bool HasNamedEntry(const LauncherTable& table) {
  for (const auto& entry : table)
    if (!entry.name.empty()) return true;
  return false;
}

}  // namespace vq
