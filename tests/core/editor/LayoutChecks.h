#pragma once
#include "editor/EditorLayout.h"

// What the timer dialog's and the editor's layout tests hold every arrangement to.
namespace vq::editor {

inline bool Overlap(const PixelRect& a, const PixelRect& b) {
  return a.left < b.Right() && b.left < a.Right() && a.top < b.Bottom() && b.top < a.Bottom();
}
inline bool Holds(const PixelRect& r, PixelSize need) { return r.width >= need.width && r.height >= need.height; }

// Texts as the design's font draws them, and as a larger font does (a Japanese font under Wine,
// or a larger DPI setting), by what they show.
struct TextSizes {
  PixelSize caption, digit2, digit4, slash, colon, clock, button;
};
inline const TextSizes kSmallTexts{{48, 12}, {12, 12}, {24, 12}, {5, 12}, {8, 12}, {120, 12}, {70, 12}};
inline const TextSizes kLargeTexts{{64, 17}, {17, 17}, {33, 17}, {9, 17}, {12, 17}, {140, 17}, {95, 17}};

}  // namespace vq::editor
