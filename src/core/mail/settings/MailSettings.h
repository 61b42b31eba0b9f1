#pragma once
#include <string>

#include "config/Settings.h"

namespace vq::mail {

// One account's settings as the user typed them.
struct MailAccountSettings {
  std::string port;  // decimal text; the number it begins with is used
  std::string host;
  std::string user;  // empty: the account takes no part in a check
  std::string password;
  MailSecurity security = MailSecurity::kNone;
  MailProtocol protocol = MailProtocol::kPop3;
  bool operator==(const MailAccountSettings&) const = default;
};

// The live mail settings: the options dialog's fields while it is open (what the user typed but
// has not saved yet counts), the settings file otherwise. Reading them never changes any state
// of the mail check; in particular it never ends a running check.
class MailSettingsSource {
 public:
  virtual ~MailSettingsSource() = default;
  virtual MailAccountSettings Account(int account) const = 0;  // account 0 .. kAccountCount - 1
  // The check interval in minutes as typed ("b5").
  virtual std::string Interval() const = 0;
  // The mail program's command line ("Mailler").
  virtual std::string MailerPath() const = 0;
  // Shows the options dialog (opening it if needed) on its mail page, at this account's tab.
  virtual void OpenAccountSettings(int account) = 0;
};

}  // namespace vq::mail
