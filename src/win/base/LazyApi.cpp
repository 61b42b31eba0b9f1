#include "win/base/LazyApi.h"

#include <commctrl.h>

#include "win/base/LoadFunction.h"

namespace vq::win {

namespace {

constinit LazyFunction<BOOL(WINAPI*)(CHOOSEFONTW*)> chooseFont{L"comdlg32.dll", "ChooseFontW"};
constinit LazyFunction<BOOL(WINAPI*)(CHOOSECOLORW*)> chooseColor{L"comdlg32.dll", "ChooseColorW"};
constinit LazyFunction<BOOL(WINAPI*)(OPENFILENAMEW*)> getOpenFileName{L"comdlg32.dll", "GetOpenFileNameW"};
constinit LazyFunction<HIMC(WINAPI*)(HWND, HIMC)> immAssociateContext{L"imm32.dll", "ImmAssociateContext"};

}  // namespace

BOOL ChooseFontLazy(CHOOSEFONTW* font) {
  auto f = chooseFont.Get();
  return f ? f(font) : FALSE;
}

BOOL ChooseColorLazy(CHOOSECOLORW* colour) {
  auto f = chooseColor.Get();
  return f ? f(colour) : FALSE;
}

BOOL GetOpenFileNameLazy(OPENFILENAMEW* file) {
  auto f = getOpenFileName.Get();
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
  auto associate = immAssociateContext.Get();
  if (associate) associate(window, nullptr);
}

}  // namespace vq::win
