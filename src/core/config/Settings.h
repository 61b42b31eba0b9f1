#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "base/Twips.h"
#include "config/Config.h"

namespace vq {

// Mail accounts; index 0 is the account the user sees as "[1]". Everything sized by accounts
// (the options' tabs, the result window's lines, the sockets) follows this count.
inline constexpr int kAccountCount = 3;

// The settings of a mail account (index 0 .. kAccountCount - 1) live under "b<index><field>":
// "b01" is the first account's port, "b24" the third account's password, "b05" the first
// account's security, "b06" its protocol.
enum class AccountField { kPort = 1, kHost = 2, kUser = 3, kPassword = 4, kSecurity = 5, kProtocol = 6 };
std::string AccountKey(int account, AccountField field);

// How an account's connection is protected: "0" (or no key at all) none, "1" TLS from the
// first byte, "2" STLS after the greeting. Any other text is a setting this program does not
// know; it is never taken for "none", so a password cannot go out in clear by mistake.
enum class MailSecurity { kNone, kTls, kStartTls, kUnknown };
MailSecurity ParseMailSecurity(std::string_view text);
// "0", "1" or "2"; empty for kUnknown.
std::string_view MailSecurityText(MailSecurity security);

// What an account's server speaks: "0" (or no key at all) POP3, "1" IMAP. Any other text is
// a setting this program does not know, and never taken for POP3.
enum class MailProtocol { kPop3, kImap, kUnknown };
MailProtocol ParseMailProtocol(std::string_view text);
// "0" or "1"; empty for kUnknown.
std::string_view MailProtocolText(MailProtocol protocol);

// A window's stored position, the one rule for every window place in the settings: the decimal
// number the text begins with (a fraction and an exponent allowed, rounded to whole twips);
// nothing for an empty or garbled text or a value no screen could have. Note records are
// read more strictly (NoteRecord).
std::optional<long> ParseTwipsText(std::string_view text);

// A window's remembered place: section "Option" (options dialog), "Fusen" (note editor) or
// "vmc" (mail result window). The result window has always looked its left edge up as
// "left" while writing it as "Left"; keys ignore case, so both name the same value.
// A value that is missing or not a number reads as 0.
WindowPlace ReadPlace(const Config& config, std::string_view section);
// Top, then Left. False when a write failed.
[[nodiscard]] bool WritePlace(Config& config, std::string_view section, const WindowPlace& place);

}  // namespace vq
