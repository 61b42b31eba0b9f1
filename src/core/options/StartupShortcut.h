#pragma once
#include <string>

namespace vq::options {

// The Internet shortcut in the user's Startup folder that starts the program at logon.
inline constexpr char kShortcutName[] = "Vornquill2.url";

// Four lines, each ended by CR LF. programFolder has no trailing "\" except at a drive root.
std::string StartupShortcutText(const std::string& programFolder);
// The shortcut's full path in the Startup folder.
std::string StartupShortcutPath(const std::string& startupFolder);

}  // namespace vq::options
