#pragma once
#include <array>
#include <string>

namespace vq {

class Config;

constexpr int kLauncherEntryCount = 20;

struct LauncherEntry {
  std::string name;  // empty: the entry is unused and not shown
  std::string path;  // a command line, or a folder when it ends in "\"
  bool operator==(const LauncherEntry&) const = default;
};

using LauncherTable = std::array<LauncherEntry, kLauncherEntryCount>;

// The profile key of entry i: its index in decimal, unpadded.
std::string LauncherKey(int entry);

LauncherTable LoadLauncherTable(const Config& config);
bool HasNamedEntry(const LauncherTable& table);

}  // namespace vq
