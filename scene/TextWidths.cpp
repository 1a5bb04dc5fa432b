#include "scene/TextWidths.h"

#include <algorithm>
#include <cmath>

namespace qv {

TTextWidths::TTextWidths(TFontOpener opener) : Opener_(std::move(opener)) { Advances_.fill(-1.0); }

TTextWidths::~TTextWidths() = default;

double TTextWidths::EmWidth(const std::string& text) {
  if (text.empty()) return 0.0;
  if (!Tried_) {
    Tried_ = true;
    std::string error;
    Font_ = Opener_ ? Opener_(error) : OpenArial(error);
  }
  if (!Font_) return 0.0;
  double w = 0.0;
  for (char c : text) {
    double& advance = Advances_[static_cast<uint8_t>(c)];
    if (advance < 0.0) advance = std::max(0.0, static_cast<double>(Font_->AdvanceWidth(static_cast<uint8_t>(c))));
    w += advance;
  }
  return w;
}

namespace {
// A text's extent on a screen is a whole number of pixels.
double WholePixels(double pixels) { return std::isfinite(pixels) ? std::round(pixels) : 0.0; }
}  // namespace

double EstimateTextWidth(TTextWidths& widths, const std::string& text, double height) {
  if (text.empty()) return 0.0;
  // The height asks for a cell (ascent plus descent) of this many pixels, not an em square.
  double cell = std::fabs(std::round(height * 1000.0 * ScenePixelsPerInch / 72.0));
  double emPixels = cell * ArialEmPerCell;
  return WholePixels(widths.EmWidth(text) * emPixels) * 1.15 / 1000.0;
}

double TextPixelWidth(TTextWidths& widths, const std::string& text, double points) {
  if (text.empty()) return 0.0;
  // A font of a point size has an em square of a whole number of pixels.
  double emPixels = std::fabs(std::round(points * ScenePixelsPerInch / 72.0));
  return WholePixels(widths.EmWidth(text) * emPixels);
}

}  // namespace qv
