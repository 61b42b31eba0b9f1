#pragma once
#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <tuple>

#include "base/NoteFont.h"

namespace vq::win {

// Notes in the same font share one font object; it is deleted with the last note using it.
class FontCache {
 public:
  using Font = std::shared_ptr<std::remove_pointer_t<HFONT>>;

  Font Get(const NoteFont& font, UINT dpi);
  // The font of the countdown line: the desktop's message font, 9 points.
  Font CountdownFont(UINT dpi);
  // A memory device context for measuring text, made once.
  HDC MeasuringDC();
  // The size of one line of text in a font: as wide as its characters, as tall as the font's
  // lines (also for an empty text).
  SIZE TextSize(HFONT font, const std::wstring& text);
  ~FontCache();

 private:
  using Key = std::tuple<std::wstring, int, bool, bool, UINT>;
  Font Make(const Key& key);

  std::map<Key, std::weak_ptr<std::remove_pointer_t<HFONT>>> fonts_;
  HDC measuring_ = nullptr;
};

}  // namespace vq::win
