#pragma once
#include <string>

#include "ports/ProfileFile.h"

namespace vq::win {

// The settings file through the platform's profile functions, which keep it in the system
// ANSI code page with CR LF line ends.
class WinProfileFile : public ProfileFile {
 public:
  // folder ends in a backslash.
  WinProfileFile(std::wstring folder, std::wstring baseName);

  bool Exists() const override;
  std::string Read(std::string_view section, std::string_view key) const override;
  ProfileKeys ReadSection(std::string_view section) const override;
  bool Write(std::string_view section, std::string_view key, std::string_view value) override;
  bool Create(const ProfileSections& sections) override;

 private:
  std::wstring folder_;
  std::wstring baseName_;  // without ".ini"
  std::wstring path_;
};

}  // namespace vq::win
