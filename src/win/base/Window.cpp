#include "win/base/Window.h"

#include <algorithm>
#include <string>
#include <vector>

#include "win/base/Text.h"
#include "win/res/resource.h"

namespace vq::win {

namespace {

// Both sizes of the program's icon, loaded once for all classes. A class given only the large
// one gets a small copy made from the resource at every registration, which costs more than
// the registration itself.
HICON largeProgramIcon = nullptr;
HICON smallProgramIcon = nullptr;

// The classes registered so far: each is registered with its first window, not at start-up.
std::vector<std::wstring> registeredClasses;

}  // namespace

HICON Window::ProgramIcon(HINSTANCE instance) {
  if (!largeProgramIcon) largeProgramIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_APP));
  return largeProgramIcon;
}

HICON Window::SmallProgramIcon(HINSTANCE instance) {
  if (!smallProgramIcon)
    smallProgramIcon =
        static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                      GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
  return smallProgramIcon;
}

bool Window::RegisterClass(HINSTANCE instance, const wchar_t* name, int background, ClassIcon icon) {
  if (std::find(registeredClasses.begin(), registeredClasses.end(), name) != registeredClasses.end()) return true;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = Procedure;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  if (icon == ClassIcon::kProgram) {
    wc.hIcon = ProgramIcon(instance);
    wc.hIconSm = SmallProgramIcon(instance);
  }
  if (background >= 0) wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(background + 1));
  wc.lpszClassName = name;
  if (!RegisterClassExW(&wc)) return false;
  registeredClasses.emplace_back(name);
  return true;
}

bool Window::CreateBound(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style, int x, int y,
                         int width, int height, HWND parent, HMENU menu, HINSTANCE instance) {
  CreateWindowExW(exStyle, className, title, style, x, y, width, height, parent, menu, instance, this);
  return hwnd_ != nullptr;
}

void Window::Unbind() {
  if (hwnd_) SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
}

void Window::Destroy() {
  if (!hwnd_) return;
  HWND hwnd = hwnd_;
  Unbind();
  hwnd_ = nullptr;
  DestroyWindow(hwnd);
}

void Window::DestroyLater() {
  if (!hwnd_) return;
  HWND hwnd = hwnd_;
  Unbind();
  hwnd_ = nullptr;
  ShowWindow(hwnd, SW_HIDE);
  // Without its object the window takes the default answer to WM_CLOSE: it destroys itself.
  PostMessageW(hwnd, WM_CLOSE, 0, 0);
}

LRESULT CALLBACK Window::Procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
  if (msg == WM_NCCREATE) {
    auto* self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
  if (msg == WM_NCDESTROY) {
    // The window is going by itself (its parent went): the object outlives it, unbound.
    self->Unbind();
    self->hwnd_ = nullptr;
    return DefWindowProcW(hwnd, msg, wp, lp);
  }
  try {
    return self->OnMessage(msg, wp, lp);
  } catch (...) {
    return DefWindowProcW(hwnd, msg, wp, lp);
  }
}

namespace {

constexpr wchar_t kHandlerProperty[] = L"Vornquill2.Handler";

// The control's own procedure is kept in its user data, the handler in a property.
LRESULT CALLBACK ControlProcedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
  auto original = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (auto handler = reinterpret_cast<ControlHandler>(GetPropW(hwnd, kHandlerProperty))) {
    try {
      if (std::optional<LRESULT> answer = handler(hwnd, msg, wp, lp)) return *answer;
    } catch (...) {
    }
  }
  if (msg == WM_NCDESTROY) RemovePropW(hwnd, kHandlerProperty);
  return CallWindowProcW(original, hwnd, msg, wp, lp);
}

}  // namespace

void SubclassControl(HWND control, ControlHandler handler) {
  SetPropW(control, kHandlerProperty, reinterpret_cast<HANDLE>(handler));
  SetWindowLongPtrW(control, GWLP_USERDATA,
                    SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ControlProcedure)));
}

std::string WindowText(HWND hwnd) {
  int length = GetWindowTextLengthW(hwnd);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  int got = GetWindowTextW(hwnd, text.data(), length + 1);
  text.resize(static_cast<size_t>(got > 0 ? got : 0));
  return Narrow(text);
}

}  // namespace vq::win
