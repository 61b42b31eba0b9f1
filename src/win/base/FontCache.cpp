#include "win/base/FontCache.h"

#include <algorithm>
#include <cmath>

#include "win/base/Text.h"

namespace vq::win {

FontCache::Font FontCache::Get(const NoteFont& font, UINT dpi) {
  int hundredths = static_cast<int>(std::lround(font.size * 100));
  return Make({Widen(font.face), hundredths, font.bold, font.italic, dpi});
}

FontCache::Font FontCache::CountdownFont(UINT dpi) { return Make({L"MS UI Gothic", 900, false, false, dpi}); }

HDC FontCache::MeasuringDC() {
  if (!measuring_) measuring_ = CreateCompatibleDC(nullptr);
  return measuring_;
}

SIZE FontCache::TextSize(HFONT font, const std::wstring& text) {
  HDC dc = MeasuringDC();
  HGDIOBJ old = SelectObject(dc, font);
  SIZE size{0, 0};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  TEXTMETRICW metrics{};
  if (GetTextMetricsW(dc, &metrics)) size.cy = std::max<LONG>(size.cy, metrics.tmHeight);
  SelectObject(dc, old);
  return size;
}

FontCache::~FontCache() {
  if (measuring_) DeleteDC(measuring_);
}

FontCache::Font FontCache::Make(const Key& key) {
  auto it = fonts_.find(key);
  if (it != fonts_.end())
    if (auto shared = it->second.lock()) return shared;
  const auto& [face, hundredths, bold, italic, dpi] = key;
  // Point size to pixels at this DPI; halves such as 10.5 points stay exact.
  int height = -static_cast<int>(std::lround(hundredths / 100.0 * dpi / 72.0));
  HFONT handle = CreateFontW(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, italic, FALSE, FALSE, DEFAULT_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                             face.c_str());
  Font shared(handle, [](HFONT f) {
    if (f) DeleteObject(f);
  });
  fonts_[key] = shared;
  return shared;
}

}  // namespace vq::win
