#pragma once
#include <windows.h>
#include <commdlg.h>

namespace vq::win {

// The common dialogs, the common controls and the input method are needed only when the user
// opens an editor or a dialog. Loading them then, rather than with the program, keeps the
// start-up as short as a bare tray program's.
BOOL ChooseFontLazy(CHOOSEFONTW* font);
BOOL ChooseColorLazy(CHOOSECOLORW* colour);
BOOL GetOpenFileNameLazy(OPENFILENAMEW* file);
// Registers the common control classes (tabs, month calendar) once.
void EnsureCommonControls();
// Switches the input method off for one window.
void DisableInputMethod(HWND window);

}  // namespace vq::win
