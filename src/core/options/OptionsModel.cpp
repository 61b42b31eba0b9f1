#include "options/OptionsModel.h"

#include "config/Settings.h"
#include "notes/NoteDefaults.h"
#include "notes/NoteRecord.h"

namespace vq::options {

mail::MailAccountSettings ReadMailAccount(const Config& config, int i) {
  auto read = [&](AccountField field) { return config.ReadOption(keys::kMail, AccountKey(i, field)); };
  mail::MailAccountSettings a{read(AccountField::kPort),
                              read(AccountField::kHost),
                              read(AccountField::kUser),
                              read(AccountField::kPassword),
                              ParseMailSecurity(read(AccountField::kSecurity)),
                              ParseMailProtocol(read(AccountField::kProtocol))};
  if (a.port.empty()) a.port = kDefaultPort;
  return a;
}

OptionsValues LoadOptions(const Config& config) {
  OptionsValues v;
  auto a1 = [&](std::string_view key) { return config.ReadOption(keys::kMail, key); };
  for (int i = 0; i < kAccountCount; ++i) v.accounts[i] = ReadMailAccount(config, i);
  v.interval = a1(keys::kInterval);
  v.mailer = a1(keys::kMailer);
  v.watchNewWindow = IsCheckedFlag(a1(keys::kWatchNewWindow));
  v.doubleClickMinimises = IsTrueFlag(a1(keys::kDoubleClickMinimises));
  v.doubleClickChecksMail = IsTrueFlag(a1(keys::kDoubleClickChecksMail));
  WindowPlace place = ReadPlace(config, keys::kOptionsWindow);
  v.top = place.top;
  v.left = place.left;
  notes::NoteDefaults defaults = notes::ReadNoteDefaults(config);
  v.fontName = defaults.fontName;
  v.fontSize = defaults.fontSizeText;
  v.backColor = defaults.backColor;
  v.foreColor = defaults.foreColor;
  return v;
}

bool SaveOptions(Config& config, const OptionsValues& v) {
  bool ok = true;
  auto write = [&](std::string_view section, std::string_view key, std::string_view value) {
    ok = config.WriteOption(section, key, value) && ok;
  };
  for (int i = 0; i < kAccountCount; ++i) {
    write(keys::kMail, AccountKey(i, AccountField::kPort), v.accounts[i].port);
    write(keys::kMail, AccountKey(i, AccountField::kHost), v.accounts[i].host);
    write(keys::kMail, AccountKey(i, AccountField::kUser), v.accounts[i].user);
    write(keys::kMail, AccountKey(i, AccountField::kPassword), v.accounts[i].password);
    auto writeChoice = [&](AccountField field, std::string_view text, bool isDefault) {
      const std::string key = AccountKey(i, field);
      if (!text.empty() && (!isDefault || !config.ReadOption(keys::kMail, key).empty())) write(keys::kMail, key, text);
    };
    const mail::MailAccountSettings& a = v.accounts[i];
    writeChoice(AccountField::kSecurity, MailSecurityText(a.security), a.security == MailSecurity::kNone);
    writeChoice(AccountField::kProtocol, MailProtocolText(a.protocol), a.protocol == MailProtocol::kPop3);
  }
  write(keys::kMail, keys::kInterval, v.interval);
  write(keys::kMail, keys::kMailer, v.mailer);
  write(keys::kMail, keys::kWatchNewWindow, v.watchNewWindow ? "1" : "0");
  write(keys::kMail, keys::kDoubleClickMinimises, v.doubleClickMinimises ? kTrue : kFalse);
  write(keys::kMail, keys::kDoubleClickChecksMail, v.doubleClickChecksMail ? kTrue : kFalse);
  write(keys::kNoteDefaults, keys::kFontName, v.fontName);
  write(keys::kNoteDefaults, keys::kFontSize, v.fontSize);
  write(keys::kNoteDefaults, keys::kBackColor, FormatColour(v.backColor));
  write(keys::kNoteDefaults, keys::kForeColor, FormatColour(v.foreColor));
  return ok;
}

std::string_view UsualPort(MailProtocol protocol, MailSecurity security) {
  const bool tls = security == MailSecurity::kTls;
  if (protocol == MailProtocol::kImap) return tls ? "993" : "143";
  return tls ? "995" : kDefaultPort;
}

std::string PortAfterMailChoice(std::string_view port, MailProtocol protocol, MailSecurity security) {
  if (protocol == MailProtocol::kUnknown || security == MailSecurity::kUnknown) return std::string(port);
  for (MailProtocol p : {MailProtocol::kPop3, MailProtocol::kImap})
    for (MailSecurity s : {MailSecurity::kNone, MailSecurity::kTls})
      if (port == UsualPort(p, s)) return std::string(UsualPort(protocol, security));
  return std::string(port);
}

bool SaveOptionsPlace(Config& config, long top, long left) {
  return WritePlace(config, keys::kOptionsWindow, {top, left});
}

bool AcceptIntervalKey(char32_t key) { return (key >= U'0' && key <= U'9') || key == 8; }

std::string FontSizeText(int tenthsOfPoint) { return notes::FormatFontSize(tenthsOfPoint / 10.0); }

}  // namespace vq::options
