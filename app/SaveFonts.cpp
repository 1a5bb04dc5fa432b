#include "app/SaveFonts.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

#include "platform/IniFiles.h"

namespace qv {

namespace {

double ScreenDpi() {
  QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? screen->logicalDotsPerInchY() : 96.0;
}

// The font's height in pixels, negative for the character height (the point size at screen dpi).
int FontHeightOf(const QFont& font) {
  if (font.pixelSize() > 0) return -font.pixelSize();
  return -static_cast<int>(std::lround(font.pointSizeF() * ScreenDpi() / 72.0));
}

}  // namespace

int FontStyleBits(const QFont& font) {
  return (font.bold() ? 1 : 0) | (font.italic() ? 2 : 0) | (font.underline() ? 4 : 0) | (font.strikeOut() ? 8 : 0);
}

void ApplyFontStyleBits(QFont& font, int bits) {
  font.setBold(bits & 1);
  font.setItalic(bits & 2);
  font.setUnderline(bits & 4);
  font.setStrikeOut(bits & 8);
}

uint32_t ColorToBgr(const QColor& c) {
  return static_cast<uint32_t>(c.red()) | static_cast<uint32_t>(c.green()) << 8 | static_cast<uint32_t>(c.blue()) << 16;
}

QColor BgrToColor(uint32_t bgr) { return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF); }

TSaveFont::TSaveFont(QFont* font, QColor* color, std::string sectionName)
    : Font(font), Color(color), SectionName(std::move(sectionName)) {}

void TSaveFont::Load(const TIniFile& ini) {
  if (!Font) return;
  const std::string& s = SectionName;
  uint32_t color = static_cast<uint32_t>(ini.ReadInteger(s, "FontColor", Color ? static_cast<int32_t>(ColorToBgr(*Color)) : 0));
  int height = ini.ReadInteger(s, "FontHeight", FontHeightOf(*Font));
  std::string name = ini.ReadString(s, "FontName", Font->family().toStdString());
  int pitch = ini.ReadInteger(s, "FontPitch", Font->fixedPitch() ? 2 : 0);
  int size = ini.ReadInteger(s, "FontSize", static_cast<int>(std::lround(Font->pointSizeF())));
  int style = ini.ReadInteger(s, "FontStyle", FontStyleBits(*Font));

  if (Color) *Color = BgrToColor(color);
  if (height != 0 && height > -4096 && height < 4096) Font->setPixelSize(std::abs(height));
  if (!name.empty()) Font->setFamily(QString::fromStdString(name));
  if (pitch == 1 || pitch == 2) Font->setFixedPitch(pitch == 2);
  if (size > 0 && size < 4096) Font->setPointSize(size);
  ApplyFontStyleBits(*Font, style);
}

void TSaveFont::Save(TIniFile& ini) const {
  if (!Font) return;
  const std::string& s = SectionName;
  ini.WriteInteger(s, "FontColor", Color ? static_cast<int32_t>(ColorToBgr(*Color)) : 0);
  ini.WriteInteger(s, "FontHeight", FontHeightOf(*Font));
  ini.WriteString(s, "FontName", Font->family().toStdString());
  ini.WriteInteger(s, "FontPitch", Font->fixedPitch() ? 2 : 0);
  ini.WriteInteger(s, "FontSize", static_cast<int>(std::lround(Font->pointSizeF() > 0 ? Font->pointSizeF()
                                                                                      : -FontHeightOf(*Font) * 72.0 / ScreenDpi())));
  ini.WriteInteger(s, "FontStyle", FontStyleBits(*Font));
}

}  // namespace qv
