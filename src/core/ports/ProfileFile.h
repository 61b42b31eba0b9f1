#pragma once
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vq {

// The settings file, one key at a time. Texts are UTF-8 here; the adapter stores them in the
// system ANSI code page, exactly as the platform's profile functions do.
class ProfileFile {
 public:
  virtual ~ProfileFile() = default;
  virtual bool Exists() const = 0;
  // The key's text, or "" when the file, section or key is missing. Section and key ignore case.
  virtual std::string Read(std::string_view section, std::string_view key) const = 0;
  // False when the platform reported a failure (read-only folder, full disk).
  virtual bool Write(std::string_view section, std::string_view key, std::string_view value) = 0;
  // Writes a whole section at once, keys in the given order, replacing what it held.
  virtual bool WriteSection(std::string_view section, const std::vector<std::pair<std::string, std::string>>& keys) = 0;
};

}  // namespace vq
