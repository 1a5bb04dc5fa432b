// Keeps a font (with its colour) in a section of an INI file.
#pragma once
#include <QColor>
#include <QFont>
#include <string>

namespace qv {

class TIniFile;

class TSaveFont {
public:
  // `font` and `color` are not owned; without a font, Load and Save do nothing.
  TSaveFont(QFont* font, QColor* color, std::string sectionName);

  // Reads "FontColor", "FontHeight", "FontName", "FontPitch", "FontSize", "FontStyle", each defaulting
  // to the font's current value, and applies them in that order (the size wins over the height).
  void Load(const TIniFile& ini);
  void Save(TIniFile& ini) const;

  QFont* Font = nullptr;
  QColor* Color = nullptr;  // may be absent: the colour is then written as black and not applied
  std::string SectionName;
};

// Style bits of the font file format: 1 bold, 2 italic, 4 underlined, 8 struck out.
int FontStyleBits(const QFont& font);
void ApplyFontStyleBits(QFont& font, int bits);
// Colours as the settings files keep them: 0x00BBGGRR.
uint32_t ColorToBgr(const QColor& color);
QColor BgrToColor(uint32_t bgr);

}  // namespace qv
