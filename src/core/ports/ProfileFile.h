#pragma once
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vq {

// Keys and their values, in file order.
using ProfileKeys = std::vector<std::pair<std::string, std::string>>;
// Sections in file order, each with its keys and values in order.
using ProfileSections = std::vector<std::pair<std::string, ProfileKeys>>;

// The settings file, one key at a time. Texts are UTF-8 here; the adapter stores them in the
// system ANSI code page, exactly as the platform's profile functions do.
class ProfileFile {
 public:
  virtual ~ProfileFile() = default;
  virtual bool Exists() const = 0;
  // The key's text, or "" when the file, section or key is missing. Section and key ignore case.
  virtual std::string Read(std::string_view section, std::string_view key) const = 0;
  // Every key of the section in one read of the file, in file order, each with the text that
  // Read gives for its first line; empty when the file or section is missing. Comment lines
  // (";" first) are left out.
  virtual ProfileKeys ReadSection(std::string_view section) const = 0;
  // False when the platform reported a failure (read-only folder, full disk).
  virtual bool Write(std::string_view section, std::string_view key, std::string_view value) = 0;
  // Creates the file in one write, with the bytes that writing each key in turn would give.
  // False, and an existing file left alone, when there is one or the write failed.
  virtual bool Create(const ProfileSections& sections) = 0;
};

}  // namespace vq
