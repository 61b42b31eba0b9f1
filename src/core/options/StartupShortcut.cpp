#include "options/StartupShortcut.h"

namespace vq::options {

namespace {
std::string Join(const std::string& folder, const std::string& name) {
  if (!folder.empty() && folder.back() == '\\') return folder + name;
  return folder + "\\" + name;
}
}  // namespace

std::string StartupShortcutText(const std::string& programFolder) {
  std::string target = Join(programFolder, "Vornquill2.exe");
  return "[InternetShortcut]\r\nURL=" + target + "\r\nIconFile=" + target + "\r\nIconIndex=0\r\n";
}

std::string StartupShortcutPath(const std::string& startupFolder) { return Join(startupFolder, kShortcutName); }

}  // namespace vq::options
