// Text widths for the scene build: where a frame around a text must be as wide as the text, the
// build estimates the width from the font's advance widths.
//
// The estimates use a fixed 96 logical pixels per inch rather than the screen's resolution, so the
// same document and options give the same scene on every screen. They use the font's unhinted
// advances, which is what makes a metric-compatible family a faithful stand-in for Arial.
#pragma once

#include <array>
#include <memory>
#include <string>

#include "platform/FontSource.h"

namespace qv {

// Logical pixels per inch behind every text-width estimate.
inline constexpr double ScenePixelsPerInch = 96.0;

// The em square's share of a cell (ascent plus descent) in Arial's metrics: 2048 of 2288 font units.
inline constexpr double ArialEmPerCell = 2048.0 / 2288.0;

// The font is opened on the first width asked for and kept, so a window that hands the same
// object to every rebuild opens it once.
class TTextWidths {
public:
  // Without an opener, "Arial" through the system.
  explicit TTextWidths(TFontOpener opener = {});
  ~TTextWidths();
  TTextWidths(const TTextWidths&) = delete;
  TTextWidths& operator=(const TTextWidths&) = delete;

  // Sum of the characters' advance widths in em units; 0 when no font can be had.
  double EmWidth(const std::string& text);
  bool FontMissing() const { return Tried_ && !Font_; }

private:
  TFontOpener Opener_;
  std::unique_ptr<IFontSource> Font_;
  bool Tried_ = false;
  std::array<double, 256> Advances_{};  // per character code, em units; negative until asked

};

// The width of the text in document units for a text `height` high: its advance width in whole
// pixels at a cell height of round(height * 1000 * 96 / 72) pixels, times 1.15, divided by 1000.
// 0 for an empty text.
double EstimateTextWidth(TTextWidths& widths, const std::string& text, double height);

// The width in whole pixels of the text set at `points` points (the em size) on a 96 pixels per
// inch screen.
double TextPixelWidth(TTextWidths& widths, const std::string& text, double points);

}  // namespace qv
