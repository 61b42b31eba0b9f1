#include "win/base/LazyApi.h"

#include <commctrl.h>

#include "win/base/LoadFunction.h"

namespace vq::win {

BOOL ChooseFontLazy(CHOOSEFONTW* font) {
  static auto f = LoadFunction<BOOL(WINAPI*)(CHOOSEFONTW*)>(L"comdlg32.dll", "ChooseFontW");
  return f ? f(font) : FALSE;
}

BOOL ChooseColorLazy(CHOOSECOLORW* colour) {
  static auto f = LoadFunction<BOOL(WINAPI*)(CHOOSECOLORW*)>(L"comdlg32.dll", "ChooseColorW");
  return f ? f(colour) : FALSE;
}

BOOL GetOpenFileNameLazy(OPENFILENAMEW* file) {
  static auto f = LoadFunction<BOOL(WINAPI*)(OPENFILENAMEW*)>(L"comdlg32.dll", "GetOpenFileNameW");
  return f ? f(file) : FALSE;
}

void EnsureCommonControls() {
  static bool done = false;
  if (done) return;
  done = true;
  // Loaded within the program's own manifest, so this is version 6 with visual styles.
  auto init = LoadFunction<BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*)>(L"comctl32.dll", "InitCommonControlsEx");
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_DATE_CLASSES | ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
  if (init) init(&controls);
}

void DisableInputMethod(HWND window) {
  static auto associate = LoadFunction<HIMC(WINAPI*)(HWND, HIMC)>(L"imm32.dll", "ImmAssociateContext");
  if (associate) associate(window, nullptr);
}

}  // namespace vq::win
