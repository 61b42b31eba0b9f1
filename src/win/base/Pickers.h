#pragma once
#include <windows.h>

#include <cstdint>
#include <optional>

#include "base/NoteFont.h"

namespace vq::win {

// The font dialog primed with a font (screen fonts only); nothing when the user cancels.
// Sizes come back in tenths of a point, so halves such as 10.5 survive.
std::optional<NoteFont> PickFont(HWND owner, const NoteFont& font, UINT dpi);
// The colour dialog primed with a colour; nothing when the user cancels.
std::optional<std::uint32_t> PickColour(HWND owner, std::uint32_t colour);

}  // namespace vq::win
