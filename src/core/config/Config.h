#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ports/ProfileFile.h"

namespace vq {

namespace keys {
inline constexpr std::string_view kMail = "a1";
inline constexpr std::string_view kNoteDefaults = "Fusen";
inline constexpr std::string_view kOptionsWindow = "Option";
inline constexpr std::string_view kMailWindow = "vmc";
inline constexpr std::string_view kLauncherNames = "Lunch0";
inline constexpr std::string_view kLauncherPaths = "Lunch1";

inline constexpr std::string_view kInterval = "b5";
inline constexpr std::string_view kMailer = "Mailler";
inline constexpr std::string_view kWatchNewWindow = "b6";
inline constexpr std::string_view kDoubleClickMinimises = "b7";
inline constexpr std::string_view kDoubleClickChecksMail = "b8";
inline constexpr std::string_view kFontName = "FontName";
inline constexpr std::string_view kFontSize = "FontSize";
inline constexpr std::string_view kBackColor = "BackColor";
inline constexpr std::string_view kForeColor = "ForeColor";
inline constexpr std::string_view kTop = "Top";
inline constexpr std::string_view kLeft = "Left";
}  // namespace keys

inline constexpr std::string_view kTrue = "True";
inline constexpr std::string_view kFalse = "False";

struct ProfileEntry {
  std::string section;
  std::string key;
  std::string value;
  bool operator==(const ProfileEntry&) const = default;
};

// The keys written to a missing settings file, in the order they are written.
std::vector<ProfileEntry> DefaultSettings(std::string_view startupFolder);

// Colours are stored as "&H" and upper-case hexadecimal without leading zeros ("&HFFFFFF", "&H0").
std::string FormatColour(std::uint32_t colour);
// nullopt when the text is not a colour of that form (case of "&H" and of the digits is ignored).
std::optional<std::uint32_t> ParseColour(std::string_view text);

// The value of the key's first line in a section read whole, as Read would give it; "" when the
// key is missing. Names ignore the case of ASCII letters.
std::string ValueOf(const ProfileKeys& keys, std::string_view key);

// Flags compare exactly: only "True" is set, only "1" is checked.
inline bool IsTrueFlag(std::string_view text) { return text == kTrue; }
inline bool IsCheckedFlag(std::string_view text) { return text == "1"; }

// The mail check interval switches the periodic check on unless it is "0" or empty.
inline bool IntervalEnablesPeriodicCheck(std::string_view interval) { return !interval.empty() && interval != "0"; }

// The settings file. Every read goes to the file; nothing is cached.
class Config {
 public:
  explicit Config(ProfileFile& file) : file_(file) {}

  bool Exists() const { return file_.Exists(); }
  std::string ReadOption(std::string_view section, std::string_view key) const;
  ProfileKeys ReadSection(std::string_view section) const { return file_.ReadSection(section); }
  [[nodiscard]] bool WriteOption(std::string_view section, std::string_view key, std::string_view value);

  // Writes the defaults when the file is missing; an existing file, even an empty one, is
  // left alone. Returns false when a write failed.
  [[nodiscard]] bool EnsureDefaults(std::string_view startupFolder);

 private:
  ProfileFile& file_;
};

}  // namespace vq
