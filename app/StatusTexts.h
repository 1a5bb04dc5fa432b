// The status bar's texts: the block sizes in fixed-point notation and the document's path
// shortened to the width of its panel.
#pragma once

#include <functional>
#include <string>

#include <QString>

#include "viewer/NumberTexts.h"

namespace qv {


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
