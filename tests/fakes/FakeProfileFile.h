#pragma once
#include <algorithm>
#include <cctype>
#include <map>
#include <string>
#include <vector>

#include "config/Config.h"
#include "ports/ProfileFile.h"

namespace vq::test {

// An in-memory settings file with the profile functions' rules: names ignore case, values are
// cut at 1023 characters, and writes can be made to fail like those to a read-only folder.
class FakeProfileFile : public ProfileFile {
 public:
  bool Exists() const override { return exists_; }

  std::string Read(std::string_view section, std::string_view key) const override {
    ++reads;
    auto it = values_.find(Name(section, key));
    if (it == values_.end()) return "";
    return it->second.substr(0, 1023);
  }

  ProfileKeys ReadSection(std::string_view section) const override {
    ++reads;
    ProfileKeys keys;
    const std::string prefix = Lower(section) + '\n';
    for (const auto& [name, value] : values_)
      if (name.starts_with(prefix)) keys.emplace_back(name.substr(prefix.size()), value.substr(0, 1023));
    return keys;
  }

  bool Write(std::string_view section, std::string_view key, std::string_view value) override {
    writes.push_back({std::string(section), std::string(key), std::string(value)});
    if (failWrites) return false;
    exists_ = true;
    values_[Name(section, key)] = std::string(value);
    return true;
  }

  bool Create(const ProfileSections& sections) override {
    ++creates;
    if (exists_) return false;
    bool ok = true;
    for (const auto& [section, keys] : sections)
      for (const auto& [key, value] : keys) ok = Write(section, key, value) && ok;
    return ok;
  }

  // Prepares the file without counting as a write by the program.
  void Set(std::string_view section, std::string_view key, std::string_view value) {
    exists_ = true;
    values_[Name(section, key)] = std::string(value);
  }
  void MakeEmptyFile() { exists_ = true; }

  std::vector<ProfileEntry> writes;
  mutable int reads = 0;
  int creates = 0;
  bool failWrites = false;

 private:
  static std::string Lower(std::string_view s) {
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return std::tolower(c); });
    return out;
  }
  static std::string Name(std::string_view section, std::string_view key) { return Lower(section) + '\n' + Lower(key); }

  bool exists_ = false;
  std::map<std::string, std::string> values_;
};

}  // namespace vq::test
