#include "options/OptionsModel.h"

#include <cmath>
#include <cstdlib>

#include "notes/NoteRecord.h"

namespace vq {

namespace {

const char* const kAccountKeys[3][4] = {
    {"b01", "b02", "b03", "b04"}, {"b11", "b12", "b13", "b14"}, {"b21", "b22", "b23", "b24"}};

long ParsePlace(const std::string& text) {
  char* end = nullptr;
  double value = std::strtod(text.c_str(), &end);
  if (end == text.c_str() || !std::isfinite(value) || std::fabs(value) > 1e7) return 0;
  return static_cast<long>(std::lround(value));
}

}  // namespace

OptionsValues LoadOptions(const Config& config) {
  OptionsValues v;
  auto a1 = [&](std::string_view key) { return config.ReadOption(keys::kMail, key); };
  for (int i = 0; i < 3; ++i) {
    v.accounts[i] = {a1(kAccountKeys[i][0]), a1(kAccountKeys[i][1]), a1(kAccountKeys[i][2]), a1(kAccountKeys[i][3])};
  }
  v.interval = a1(keys::kInterval);
  v.mailer = a1(keys::kMailer);
  v.watchNewWindow = std::atoi(a1(keys::kWatchNewWindow).c_str()) == 1;
  v.doubleClickMinimises = IsTrueFlag(a1(keys::kDoubleClickMinimises));
  v.doubleClickChecksMail = IsTrueFlag(a1(keys::kDoubleClickChecksMail));
  v.top = ParsePlace(config.ReadOption(keys::kOptionsWindow, keys::kTop));
  v.left = ParsePlace(config.ReadOption(keys::kOptionsWindow, keys::kLeft));
  v.fontName = config.ReadOption(keys::kNoteDefaults, keys::kFontName);
  v.fontSize = config.ReadOption(keys::kNoteDefaults, keys::kFontSize);
  v.backColor = ParseColour(config.ReadOption(keys::kNoteDefaults, keys::kBackColor)).value_or(0xFFFFFF);
  v.foreColor = ParseColour(config.ReadOption(keys::kNoteDefaults, keys::kForeColor)).value_or(0);
  for (auto& account : v.accounts)
    if (account.port.empty()) account.port = kDefaultPort;
  return v;
}

bool SaveOptions(Config& config, const OptionsValues& v) {
  bool ok = true;
  auto write = [&](std::string_view section, std::string_view key, std::string_view value) {
    ok = config.WriteOption(section, key, value) && ok;
  };
  for (int i = 0; i < 3; ++i) {
    write(keys::kMail, kAccountKeys[i][0], v.accounts[i].port);
    write(keys::kMail, kAccountKeys[i][1], v.accounts[i].host);
    write(keys::kMail, kAccountKeys[i][2], v.accounts[i].user);
    write(keys::kMail, kAccountKeys[i][3], v.accounts[i].password);
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

void SaveOptionsPlace(Config& config, long top, long left) {
  config.WriteOption(keys::kOptionsWindow, keys::kTop, std::to_string(top));
  config.WriteOption(keys::kOptionsWindow, keys::kLeft, std::to_string(left));
}

bool AcceptIntervalKey(char32_t key) { return (key >= U'0' && key <= U'9') || key == 8; }

std::string FontSizeText(int tenthsOfPoint) { return FormatFontSize(tenthsOfPoint / 10.0); }

}  // namespace vq
