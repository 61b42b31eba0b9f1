#include "config/Config.h"

#include <algorithm>

#include "base/Utf8.h"
#include "base/Digits.h"

namespace vq {

std::vector<ProfileEntry> DefaultSettings(std::string_view startupFolder) {
  // The mailer default sits on the drive of the Startup folder; the file need not exist.
  std::string mailer = std::string(FirstCharacter(startupFolder)) + ":\\Program Files\\Outlook Express\\msimn.exe";
  const std::string a1(keys::kMail), fusen(keys::kNoteDefaults);
  return {
      {a1, "b01", "110"},
      {a1, "b02", ""},
      {a1, "b03", ""},
      {a1, "b04", ""},
      {a1, "b11", "110"},
      {a1, "b12", ""},
      {a1, "b13", ""},
      {a1, "b14", ""},
      {a1, "b21", "110"},
      {a1, "b22", ""},
      {a1, "b23", ""},
      {a1, "b24", ""},
      {a1, "b5", "0"},
      {a1, "Mailler", mailer},
      {a1, "b6", "1"},
      {a1, "b7", "True"},
      {a1, "b8", "False"},
      {fusen, "FontName", "ＭＳ Ｐゴシック"},
      {fusen, "FontSize", "9"},
      {fusen, "BackColor", "&HFFFFFF"},
      {fusen, "ForeColor", "&H0"},
      {"Option", "Top", "0"},
      {"Option", "Left", "0"},
      {"vmc", "Top", "0"},
      {"vmc", "Left", "0"},
      {fusen, "Top", "0"},
      {fusen, "Left", "0"},
  };
}

std::string FormatColour(std::uint32_t colour) { return "&H" + UpperHex(colour); }

std::optional<std::uint32_t> ParseColour(std::string_view text) {
  if (text.size() < 3 || text[0] != '&' || (text[1] != 'H' && text[1] != 'h')) return std::nullopt;
  std::string_view digits = text.substr(2);
  if (digits.size() > 8) return std::nullopt;
  std::uint32_t value = 0;
  for (char c : digits) {
    int d;
    if (c >= '0' && c <= '9')
      d = c - '0';
    else if (c >= 'A' && c <= 'F')
      d = c - 'A' + 10;
    else if (c >= 'a' && c <= 'f')
      d = c - 'a' + 10;
    else
      return std::nullopt;
    value = value * 16 + static_cast<std::uint32_t>(d);
  }
  return value;
}

std::string ValueOf(const ProfileKeys& keys, std::string_view key) {
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  for (const auto& [name, value] : keys)
    if (std::equal(name.begin(), name.end(), key.begin(), key.end(),
                   [&](char a, char b) { return lower(a) == lower(b); }))
      return value;
  return "";
}

std::string Config::ReadOption(std::string_view section, std::string_view key) const {
  return file_.Read(section, key);
}

bool Config::WriteOption(std::string_view section, std::string_view key, std::string_view value) {
  return file_.Write(section, key, value);
}

bool Config::EnsureDefaults(std::string_view startupFolder) {
  if (file_.Exists()) return true;
  // Grouped by section, the keys make the same file as one write per key would (a key added to
  // an existing section goes to its end), written once instead of 27 times: every profile
  // write rewrites the whole file.
  ProfileSections sections;
  for (const auto& entry : DefaultSettings(startupFolder)) {
    auto it = std::find_if(sections.begin(), sections.end(), [&](const auto& s) { return s.first == entry.section; });
    if (it == sections.end()) it = sections.insert(sections.end(), {entry.section, {}});
    it->second.emplace_back(entry.key, entry.value);
  }
  return file_.Create(sections);
}

}  // namespace vq
