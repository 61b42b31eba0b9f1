#pragma once
#include <string>

#include "config/Config.h"
#include "launcher/Launcher.h"

namespace vq::options {

// The launcher page of the options dialog. It works on the launcher's own table, so a slot
// committed here changes what its menu item starts at once; the file and the menu captions
// change when the entries are registered (or the options applied).
class LauncherEditor {
 public:
  LauncherEditor(Config& config, launcher::Launcher& launcher)
      : config_(config), launcher_(launcher), table_(launcher.Table()) {}

  // Reads the table from the file and shows slot 1.
  void Load();
  // Drops edits that were never registered.
  void Cancel();

  int Selected() const { return selected_; }
  const std::string& Name() const { return name_; }
  const std::string& Path() const { return path_; }
  void SetName(std::string name);
  void SetPath(std::string path);
  // The register button turns red while both fields hold text.
  bool Pending() const { return pending_; }

  // A mouse button went down on a slot button: the selected slot takes the fields, then the
  // pressed one is shown.
  void PressSlot(int slot);
  // A slot chosen with the keyboard is shown without committing the one before.
  void SelectSlot(int slot);
  void CommitSelected();
  void Erase();

  enum class RegisterResult { kNeedsName, kRegistered, kWriteFailed };
  RegisterResult Register();
  // Writes all twenty entries and reads them back; false when a write failed.
  [[nodiscard]] bool WriteTable();

  // A folder picked in the folder browser, as a target: it ends in exactly one "\".
  static std::string FolderTarget(std::string folder);

 private:
  void ReadTable();
  void UpdatePending() { pending_ = !name_.empty() && !path_.empty(); }

  Config& config_;
  launcher::Launcher& launcher_;
  launcher::LauncherTable& table_;
  int selected_ = 0;
  std::string name_, path_;
  bool pending_ = false;
};

}  // namespace vq::options
