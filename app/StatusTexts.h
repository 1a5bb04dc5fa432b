// The status bar's texts: the block sizes in fixed-point notation and the document's path
// shortened to the width of its panel.
#pragma once

#include <functional>
#include <string>

#include <QString>

namespace qv {

// `value` rounded to 12 significant digits and shown with `decimals` digits after the point (0 to
// 18), no thousands separator, '.' as the decimal separator. A value with more than 12 digits
// before the point is shown in scientific notation; NaN and infinities as "NAN", "INF", "-INF".
std::string FloatToFixed(double value, int decimals);

// "Xmax=" + FloatToFixed with the locale's decimal separator.
QString SizeText(const char* prefix, double value, int decimals, QChar decimalPoint);

// Shortens `path` until `width(text) <= maxWidth`, first by replacing folders from the left with
// "...", then by dropping the drive and the folders altogether; the file name is always kept
// whole. `separator` is the path's folder separator.
QString ShortenPath(const QString& path, int maxWidth, const std::function<int(const QString&)>& width,
                    QChar separator = QChar('/'));

// The width of status panel 0: the bar less five 100-pixel panels scaled to the screen.
int StatusPanel0Width(int statusBarWidth, int pixelsPerInch);
int StatusPanelWidth(int pixelsPerInch);

}  // namespace qv
