#pragma once
#include <memory>
#include <optional>

#include "options/OptionsModel.h"
#include "base/Twips.h"
#include "config/Settings.h"
#include "ports/Dialogs.h"

namespace vq::options {

// Pages of the options dialog, and the sub-pages of its mail page: one per account, then "設定".
enum class OptionsPage { kGeneral = 0, kMail = 1, kLauncher = 2, kNotes = 3 };
inline constexpr int kMailSettingsSubPage = kAccountCount;

class OptionsController;

class OptionsView : public BoxOwner {
 public:
  virtual ~OptionsView() = default;
  // Fills every field and places the dialog (twips); SelectPage then shows it.
  virtual void Show(const OptionsValues& values) = 0;
  // Shows the page (and the mail sub-page) and brings the dialog forward.
  virtual void SelectPage(OptionsPage page, std::optional<int> mailSubPage) = 0;
  // The fields as the user left them; the place is not among them (MovedTo).
  virtual OptionsValues Values() const = 0;
  // The launcher page shows the editor's selected slot, fields and register colour.
  virtual void RefreshLauncher() = 0;
  // Where the user moved the dialog to; nullopt while it stands where Show put it.
  virtual std::optional<WindowPlace> MovedTo() const = 0;
  virtual void Close() = 0;
};

class OptionsViewFactory {
 public:
  virtual ~OptionsViewFactory() = default;
  virtual std::unique_ptr<OptionsView> CreateOptionsView(OptionsController& controller) = 0;
};

}  // namespace vq::options
