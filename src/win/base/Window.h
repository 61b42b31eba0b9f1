#pragma once
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

namespace vq::win {

// One object per window: the object is bound to its HWND from WM_NCCREATE until it lets the
// window go, every message of the window goes to OnMessage, and no exception leaves the window
// procedure. The window goes with the object.
class Window {
 public:
  Window() = default;
  virtual ~Window() { Destroy(); }
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  HWND Handle() const { return hwnd_; }

  enum class ClassIcon { kProgram, kNone };
  // Registers a class whose windows are bound objects, once: later calls for the same name
  // answer true. background is a COLOR_ index, or -1 for none.
  static bool RegisterClass(HINSTANCE instance, const wchar_t* name, int background = -1,
                            ClassIcon icon = ClassIcon::kProgram);
  // The program's icon at the large and the small size (title bars, the tray), each loaded once.
  static HICON ProgramIcon(HINSTANCE instance);
  static HICON SmallProgramIcon(HINSTANCE instance);

 protected:
  // Creates the window bound to this object; call it from the most derived constructor or
  // later, never from a base's. False when the window could not be made (the system has no
  // window resources left): every view must still answer its calls.
  [[nodiscard]] bool CreateBound(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style, int x,
                                 int y, int width, int height, HWND parent, HMENU menu, HINSTANCE instance);
  // Lets the window go now; the messages of its end find no object.
  void Destroy();
  // Lets the window go once the message being handled is done: for a window closed by one of
  // its own buttons, whose click is still running. It is hidden at once.
  void DestroyLater();

  virtual LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) = 0;
  LRESULT Default(UINT msg, WPARAM wp, LPARAM lp) { return DefWindowProcW(hwnd_, msg, wp, lp); }

  HWND hwnd_ = nullptr;

 private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept;
  void Unbind();
};

// A subclassed control's own handling: an answer, or nothing to pass the message on to the
// control's procedure.
using ControlHandler = std::optional<LRESULT> (*)(HWND control, UINT msg, WPARAM wp, LPARAM lp);
// Puts handler in front of the control's procedure, behind the same guard as a Window's: what
// the handler throws never leaves the procedure, and the control then answers for itself.
void SubclassControl(HWND control, ControlHandler handler);

// Colour values as stored; those with the high bit set name a system colour by its index.
inline COLORREF ToColorRef(std::uint32_t colour) {
  if (colour & 0x80000000u) return GetSysColor(static_cast<int>(colour & 0xFF));
  return static_cast<COLORREF>(colour & 0xFFFFFF);
}

// The text of a window or control, as UTF-8.
std::string WindowText(HWND hwnd);

}  // namespace vq::win
