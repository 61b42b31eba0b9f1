#pragma once
#include <string>

namespace vq {

// A note's font as its record stores it; the editor, the options dialog and the Win32 font
// helpers share it.
struct NoteFont {
  std::string face;
  double size = 9;  // points; halves such as 10.5 are kept
  bool bold = false;
  bool italic = false;
  bool operator==(const NoteFont&) const = default;
};

}  // namespace vq
