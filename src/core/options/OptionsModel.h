#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "config/Config.h"
#include "config/Settings.h"
#include "mail/settings/MailSettings.h"

namespace vq::options {

// Every setting the options dialog edits, as its fields hold them.
struct OptionsValues {
  std::array<mail::MailAccountSettings, kAccountCount> accounts;
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

// The usual port of a protocol and a security: POP3 110 (995 over SSL/TLS), IMAP 143 (993).
std::string_view UsualPort(MailProtocol protocol, MailSecurity security);
// The port field after the protocol or the security choice changed: a usual port becomes the
// usual port of the new choice; any other port is the user's own and stays.
std::string PortAfterMailChoice(std::string_view port, MailProtocol protocol, MailSecurity security);

// One account's settings from the file, its six keys only; an empty port reads as "110".
mail::MailAccountSettings ReadMailAccount(const Config& config, int account);
// Reads the settings file into the dialog's fields, the accounts as ReadMailAccount does.
OptionsValues LoadOptions(const Config& config);
// Writes the mail, double-click and note-default settings, texts exactly as typed, in the
// order the file has always been written in. An account's security and protocol are each written
// only when not "none" / POP3 or when the key is there already, so the file of a user who never
// chose TLS or IMAP stays as older versions of the program wrote it; an unknown one is left as it
// is. False when a write failed.
[[nodiscard]] bool SaveOptions(Config& config, const OptionsValues& values);
// The dialog's place, written whenever it closes.
[[nodiscard]] bool SaveOptionsPlace(Config& config, long top, long left);

// The interval field takes digits and Backspace only, at most three characters.
inline constexpr std::size_t kIntervalMaxLength = 3;
bool AcceptIntervalKey(char32_t key);

// Font sizes shown in the options, from the font dialog's tenths of a point ("9", "10.5").
std::string FontSizeText(int tenthsOfPoint);

}  // namespace vq::options
