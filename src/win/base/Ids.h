#pragma once

namespace vq::win {

// Control and menu IDs of the program's own windows.
enum ControlId : int {
  kEditorText = 100,
  kEditorStick,
  kEditorCancel,
  kEditorAlarmFirst = 110,  // + alarm row label
  kEditorMenuFont = 200,
  kEditorMenuBackColor,
  kEditorMenuForeColor,
  kEditorMenuTimer,
  kTimerCalendar = 300,
  kTimerScrollFirst = 310,  // + field: year, month, day, hour, minute
  kTimerLabelFirst = 320,   // + field
  kTimerClock = 330,
  kTimerSet,
  kTimerClear,
  kTimerCancel,
  kTimerPicture,
  kOptTabs = 400,
  kOptMailTabs,
  kOptOk,
  kOptCancel,
  kOptApply,
  kOptPicture,
  kOptWatchCheck = 410,
  kOptWatchLabel,
  kOptStartupLabel,
  kOptStartupRegister,
  kOptStartupRemove,
  kOptDoubleClickLabel,
  kOptMinimiseOption,
  kOptMinimiseLabel,
  kOptMailOption,
  kOptMailLabel,
  kOptPortFirst = 430,  // + account
  kOptHostFirst = 433,
  kOptUserFirst = 436,
  kOptPasswordFirst = 439,
  kOptSecurityFirst = 442,
  kOptProtocolFirst = 445,
  kOptAccountLabelFirst = 450,  // + account * 5 + row
  kOptInterval = 470,
  kOptIntervalLabel,
  kOptIntervalNote,
  kOptMailerLabel,
  kOptMailer,
  kOptMailerBrowse,
  kOptLauncherNameLabel = 480,
  kOptLauncherName,
  kOptLauncherPathLabel,
  kOptLauncherPath,
  kOptLauncherNote,
  kOptLauncherFrame,
  kOptLauncherFileLabel,
  kOptLauncherFileBrowse,
  kOptLauncherFolderLabel,
  kOptLauncherFolderBrowse,
  kOptLauncherRegister,
  kOptLauncherErase,
  kOptSlotFirst = 500,   // + slot 0..19
  kMailLineFirst = 600,  // + account 0..2
  kMailMailer = 610,
  kOptNotesHeading = 530,
  kOptFontNameLabel,
  kOptFontName,
  kOptFontNameButton,
  kOptFontSizeLabel,
  kOptFontSize,
  kOptFontSizeButton,
  kOptBackLabel,
  kOptBackSwatch,
  kOptBackButton,
  kOptForeLabel,
  kOptForeSwatch,
  kOptForeButton,
};

}  // namespace vq::win
