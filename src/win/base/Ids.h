#pragma once

namespace vq::win {

// Ranges of IDs that hold one control per mail account have room for this many accounts.
inline constexpr int kAccountIdStride = 10;

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
  kMailLineFirst = 600,  // + account, up to kAccountIdStride of them
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
  // The mail accounts' fields: one range per field, + account.
  kOptPortFirst = 700,
  kOptHostFirst = kOptPortFirst + kAccountIdStride,
  kOptUserFirst = kOptHostFirst + kAccountIdStride,
  kOptPasswordFirst = kOptUserFirst + kAccountIdStride,
  kOptSecurityFirst = kOptPasswordFirst + kAccountIdStride,
  // The accounts' captions with an ID, which begin at kOptAccountLabelFirst: one range per caption, + account.
  kOptAccountLabelFirst = kOptSecurityFirst + kAccountIdStride,
  kOptPortLabelFirst = kOptAccountLabelFirst,                           // "ポート："
  kOptHostLabelFirst = kOptPortLabelFirst + kAccountIdStride,           // "POP3サーバ：" or "IMAPサーバ："
  kOptUserLabelFirst = kOptHostLabelFirst + kAccountIdStride,           // "アカウント(ID)："
  kOptPasswordLabelFirst = kOptUserLabelFirst + kAccountIdStride,       // "パスワード："
  kOptUsualPortLabelFirst = kOptPasswordLabelFirst + kAccountIdStride,  // "←通常は110" or "←通常は143"
  kOptProtocolFirst = kOptUsualPortLabelFirst + kAccountIdStride,
};

}  // namespace vq::win
