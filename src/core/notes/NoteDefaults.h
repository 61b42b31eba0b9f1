#pragma once
#include <cstdint>
#include <string>

#include "config/Config.h"
#include "notes/NoteRecord.h"

namespace vq::notes {

// What a new note starts with, from section "Fusen". The texts stay as stored for the options
// dialog; the parsed values fall back to 9 points, white paper and black ink.
struct NoteDefaults {
  std::string fontName;
  std::string fontSizeText;
  double fontSize = 9;
  std::uint32_t backColor = 0xFFFFFF;
  std::uint32_t foreColor = 0;
};

inline NoteDefaults ReadNoteDefaults(const Config& config) {
  NoteDefaults d;
  d.fontName = config.ReadOption(keys::kNoteDefaults, keys::kFontName);
  d.fontSizeText = config.ReadOption(keys::kNoteDefaults, keys::kFontSize);
  d.fontSize = ParseFontSize(d.fontSizeText).value_or(9);
  d.backColor = ParseColour(config.ReadOption(keys::kNoteDefaults, keys::kBackColor)).value_or(0xFFFFFF);
  d.foreColor = ParseColour(config.ReadOption(keys::kNoteDefaults, keys::kForeColor)).value_or(0);
  return d;
}

}  // namespace vq::notes
