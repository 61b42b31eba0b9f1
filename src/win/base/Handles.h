#pragma once
#include <windows.h>

#include <utility>

namespace vq::win {

// A move-only owner of one handle; assignment and destruction close the old one.
template <typename Traits>
class Unique {
 public:
  using Handle = typename Traits::Handle;

  Unique() = default;
  explicit Unique(Handle h) : h_(h) {}
  ~Unique() { Reset(); }
  Unique(Unique&& other) noexcept : h_(std::exchange(other.h_, Traits::Invalid())) {}
  Unique& operator=(Unique&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.h_, Traits::Invalid()));
    return *this;
  }
  Unique(const Unique&) = delete;
  Unique& operator=(const Unique&) = delete;

  Handle get() const { return h_; }
  bool valid() const { return h_ != Traits::Invalid(); }
  explicit operator bool() const { return valid(); }
  void Reset(Handle h = Traits::Invalid()) {
    if (valid()) Traits::Close(h_);
    h_ = h;
  }
  Handle Release() { return std::exchange(h_, Traits::Invalid()); }

 private:
  Handle h_ = Traits::Invalid();
};

struct FileTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(Handle h) { CloseHandle(h); }
};
template <typename T>
struct GdiTraits {
  using Handle = T;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { DeleteObject(h); }
};
struct MenuTraits {
  using Handle = HMENU;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { DestroyMenu(h); }
};

using UniqueFile = Unique<FileTraits>;
using UniqueBrush = Unique<GdiTraits<HBRUSH>>;
using UniqueMenu = Unique<MenuTraits>;

}  // namespace vq::win
