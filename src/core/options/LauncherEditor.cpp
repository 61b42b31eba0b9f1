#include "options/LauncherEditor.h"

namespace vq::options {

void LauncherEditor::ReadTable() { launcher_.Reload(); }

void LauncherEditor::Load() {
  ReadTable();
  selected_ = 0;
  SelectSlot(0);
}

void LauncherEditor::Cancel() { ReadTable(); }

void LauncherEditor::SetName(std::string name) {
  name_ = std::move(name);
  UpdatePending();
}

void LauncherEditor::SetPath(std::string path) {
  path_ = std::move(path);
  UpdatePending();
}

void LauncherEditor::CommitSelected() {
  table_[selected_].name = name_;
  table_[selected_].path = path_;
}

void LauncherEditor::PressSlot(int slot) {
  CommitSelected();
  pending_ = false;
  SelectSlot(slot);
}

void LauncherEditor::SelectSlot(int slot) {
  if (slot < 0 || slot >= launcher::kLauncherEntryCount) return;
  selected_ = slot;
  name_ = table_[slot].name;
  path_ = table_[slot].path;
  UpdatePending();
}

void LauncherEditor::Erase() {
  name_.clear();
  path_.clear();
  table_[selected_] = {};
  pending_ = false;
}

bool LauncherEditor::WriteTable() {
  bool ok = true;
  for (int i = 0; i < launcher::kLauncherEntryCount; ++i) {
    ok = config_.WriteOption(keys::kLauncherNames, launcher::LauncherKey(i), table_[i].name) && ok;
    ok = config_.WriteOption(keys::kLauncherPaths, launcher::LauncherKey(i), table_[i].path) && ok;
  }
  ReadTable();
  return ok;
}

LauncherEditor::RegisterResult LauncherEditor::Register() {
  if (name_.empty()) return RegisterResult::kNeedsName;
  CommitSelected();
  bool ok = WriteTable();
  pending_ = false;
  return ok ? RegisterResult::kRegistered : RegisterResult::kWriteFailed;
}

std::string LauncherEditor::FolderTarget(std::string folder) {
  if (folder.empty() || folder.back() != '\\') folder += '\\';
  return folder;
}

}  // namespace vq::options
