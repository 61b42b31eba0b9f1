#pragma once
#include <array>
#include <optional>
#include <string>

#include "config/Config.h"
#include "ports/Dialogs.h"
#include "ports/System.h"

namespace vq::launcher {

constexpr int kLauncherEntryCount = 20;

struct LauncherEntry {
  std::string name;  // empty: the entry is unused and not shown
  std::string path;  // a command line, or a folder when it ends in "\"
  bool operator==(const LauncherEntry&) const = default;
};

using LauncherTable = std::array<LauncherEntry, kLauncherEntryCount>;
using LauncherCaptions = std::array<std::string, kLauncherEntryCount>;

// The profile key of entry i: its index in decimal, unpadded.
std::string LauncherKey(int entry);

LauncherTable LoadLauncherTable(const Config& config);
bool HasNamedEntry(const LauncherTable& table);

// A path that ends in "\" names a folder.
bool IsFolderTarget(const std::string& path);
// What choosing an entry runs: "explorer " and the path for a folder (a path ending in "\"),
// the path itself otherwise, nothing for an empty path.
std::optional<std::string> LaunchCommandLine(const std::string& path);

// The twenty entries of the launcher submenu and running them. The table is what an entry
// runs; the menu captions follow it only when the entries are loaded, registered or saved,
// so a slot committed in the options dialog changes what its item starts at once while its
// caption waits for the registration.
class Launcher {
 public:
  Launcher(Config& config, System& system, Dialogs& dialogs) : config_(config), system_(system), dialogs_(dialogs) {}

  // Reads the table from the file and takes its captions for the menu.
  void Reload();
  void RefreshCaptions();

  LauncherTable& Table() { return table_; }
  const LauncherTable& Table() const { return table_; }
  const LauncherCaptions& Captions() const { return captions_; }

  // Runs entry i; a program or folder that is not there is reported, never started.
  void Run(int entry);

 private:
  Config& config_;
  System& system_;
  Dialogs& dialogs_;
  LauncherTable table_;
  LauncherCaptions captions_;
};

}  // namespace vq::launcher
