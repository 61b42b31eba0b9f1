#include "win/base/Pickers.h"

#include <cmath>

#include "win/base/Window.h"
#include "win/base/LazyApi.h"
#include "win/base/Text.h"

namespace vq::win {

std::optional<NoteFont> PickFont(HWND owner, const NoteFont& font, UINT dpi) {
  LOGFONTW lf{};
  lf.lfHeight = -static_cast<LONG>(std::lround(font.size * dpi / 72.0));
  lf.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = font.italic;
  lf.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(lf.lfFaceName, Widen(font.face).c_str(), LF_FACESIZE);
  CHOOSEFONTW cf{};
  cf.lStructSize = sizeof cf;
  cf.hwndOwner = owner;
  cf.lpLogFont = &lf;
  cf.iPointSize = static_cast<INT>(std::lround(font.size * 10));
  cf.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT;
  if (!ChooseFontLazy(&cf)) return std::nullopt;
  return NoteFont{Narrow(lf.lfFaceName), cf.iPointSize / 10.0, lf.lfWeight >= FW_SEMIBOLD, lf.lfItalic != 0};
}

std::optional<std::uint32_t> PickColour(HWND owner, std::uint32_t colour) {
  // The custom colours the user mixed stay for the rest of the run, in every colour dialog.
  static COLORREF custom[16] = {};
  CHOOSECOLORW cc{};
  cc.lStructSize = sizeof cc;
  cc.hwndOwner = owner;
  cc.rgbResult = ToColorRef(colour);
  cc.lpCustColors = custom;
  cc.Flags = CC_RGBINIT | CC_FULLOPEN;
  if (!ChooseColorLazy(&cc)) return std::nullopt;
  return cc.rgbResult;
}

}  // namespace vq::win
