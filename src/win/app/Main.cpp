#include <windows.h>

#include <cstdlib>

#include "shell/ShellMessages.h"
#include "win/app/App.h"
#include "win/base/Text.h"
#include "win/base/WindowNames.h"

// The standard library's default answer to an uncaught exception prints the exception's type,
// which links in its whole symbol demangler (some 40 KB). A resident program has no console
// to print to: it ends as abort() would.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  // One copy per user session. The second start says so and ends before it touches anything.
  HANDLE mutex = CreateMutexW(nullptr, FALSE, vq::win::kSingleInstanceMutex);
  if (mutex && GetLastError() == ERROR_ALREADY_EXISTS) {
    MessageBoxW(nullptr, vq::win::Widen(vq::shell::kAlreadyRunningMessage).c_str(), vq::win::kProductName, MB_OK);
    return 0;
  }

  vq::win::App app(instance);
  if (!app.Start()) return 1;

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
