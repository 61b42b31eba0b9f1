#pragma once
#include <array>
#include <string>
#include <vector>

#include "mail/settings/MailSettings.h"

namespace vq::test {

class FakeMailSettings : public mail::MailSettingsSource {
 public:
  mail::MailAccountSettings Account(int account) const override { return accounts[account]; }
  std::string Interval() const override { return interval; }
  std::string MailerPath() const override { return mailer; }
  void OpenAccountSettings(int account) override { opened.push_back(account); }

  std::array<mail::MailAccountSettings, kAccountCount> accounts;
  std::string interval = "0";
  std::string mailer = "C:\\Program Files\\Mailer\\mailer.exe";
  std::vector<int> opened;  // the account tab of each opening of the options dialog
};

}  // namespace vq::test
