#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "config/Config.h"

namespace vq {

struct MailAccount {
  std::string port, host, user, password;
  bool operator==(const MailAccount&) const = default;
};

// Every setting the options dialog edits, as its fields hold them.
struct OptionsValues {
  std::array<MailAccount, 3> accounts;
  std::string interval;  // minutes; "0" or empty: no periodic check
  std::string mailer;
  bool watchNewWindow = false;         // "b6"
  bool doubleClickMinimises = false;   // "b7"
  bool doubleClickChecksMail = false;  // "b8"
  std::string fontName;
  std::string fontSize;
  std::uint32_t backColor = 0xFFFFFF;
  std::uint32_t foreColor = 0;
  long top = 0, left = 0;  // the dialog's place, twips
  bool operator==(const OptionsValues&) const = default;
};

inline constexpr char kDefaultPort[] = "110";

// Reads the settings file into the dialog's fields; an empty port shows as "110".
OptionsValues LoadOptions(const Config& config);
// Writes the mail, double-click and note-default settings, texts exactly as typed, in the
// order the file has always been written in. False when a write failed.
[[nodiscard]] bool SaveOptions(Config& config, const OptionsValues& values);
// The dialog's place, written whenever it closes.
[[nodiscard]] bool SaveOptionsPlace(Config& config, long top, long left);

// The interval field takes digits and Backspace only, at most three characters.
inline constexpr std::size_t kIntervalMaxLength = 3;
bool AcceptIntervalKey(char32_t key);

// Font sizes shown in the options, from the font dialog's tenths of a point ("9", "10.5").
std::string FontSizeText(int tenthsOfPoint);

}  // namespace vq
