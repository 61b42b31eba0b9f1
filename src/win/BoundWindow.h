#pragma once
#include <windows.h>

#include <cstdint>

namespace vq::win {

// The window procedure of a class that owns one window: the object is bound to its HWND at
// WM_NCCREATE (passed as the creation parameter), every message goes to T::OnMessage, and no
// exception leaves the procedure. T declares this template a friend.
template <typename T>
LRESULT CALLBACK BoundWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* self = static_cast<T*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<T*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
  try {
    return self->OnMessage(msg, wp, lp);
  } catch (...) {
    return DefWindowProcW(hwnd, msg, wp, lp);
  }
}

// Registers the class of one of our windows.
inline bool RegisterBoundClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure, int background = -1) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = procedure;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
  if (background >= 0) wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(background + 1));
  wc.lpszClassName = name;
  return RegisterClassExW(&wc) != 0;
}

// Unbinds the object first, so that the messages of the window's end find no object.
inline void DestroyBoundWindow(HWND& hwnd) {
  if (!hwnd) return;
  SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
  DestroyWindow(hwnd);
  hwnd = nullptr;
}

// Colour values as stored; those with the high bit set name a system colour by its index.
inline COLORREF ToColorRef(std::uint32_t colour) {
  if (colour & 0x80000000u) return GetSysColor(static_cast<int>(colour & 0xFF));
  return static_cast<COLORREF>(colour & 0xFFFFFF);
}

}  // namespace vq::win
