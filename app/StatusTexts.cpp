#include "app/StatusTexts.h"


#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace qv {

namespace {

// The decimal digits of |value|: value = 0.d1 d2 d3 ... x 10^Exponent.
struct TDigits {
  std::string Digits;
  int Exponent = 0;

  explicit TDigits(double value) {
    char buf[64];
    // 26 significant digits show whether a double lies exactly halfway between two shorter ones.
    std::snprintf(buf, sizeof buf, "%.25e", std::fabs(value));
    const char* e = std::strchr(buf, 'e');
    const char* digitsStart = buf + 2;
    Digits = std::string(1, buf[0]) + std::string(digitsStart, e);
    Exponent = std::atoi(e + 1) + 1;
    if (Digits.find_first_not_of('0') == std::string::npos) Exponent = 1;
  }

  // Keeps `keep` leading digits, rounding half away from zero.
  void Round(int keep) {
    if (keep >= static_cast<int>(Digits.size())) return;
    if (keep < 0) {
      Digits = "0";
      return;
    }
    const bool up = Digits[static_cast<size_t>(keep)] >= '5';
    Digits.resize(static_cast<size_t>(keep));
    if (!up) return;
    int i = keep - 1;
    for (; i >= 0 && Digits[static_cast<size_t>(i)] == '9'; --i) Digits[static_cast<size_t>(i)] = '0';
    if (i >= 0) {
      ++Digits[static_cast<size_t>(i)];
    } else {
      Digits.insert(Digits.begin(), '1');
      ++Exponent;
    }
  }

  // The digit at position `index` (0 the first), 0 beyond the ends.
  char At(int index) const {
    return index >= 0 && index < static_cast<int>(Digits.size()) ? Digits[static_cast<size_t>(index)] : '0';
  }
};

}  // namespace

std::string FloatToFixed(double value, int decimals) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
  decimals = std::clamp(decimals, 0, 18);
  TDigits d(value);
  // Never more than twelve significant digits.
  d.Round(12);
  if (d.Exponent > 12) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.11E", value);
    return buf;
  }
  d.Round(d.Exponent + decimals);
  std::string text;
  for (int i = 0; i < std::max(d.Exponent, 1); ++i) text += d.At(d.Exponent <= 0 ? -1 : i);
  if (decimals > 0) {
    text += '.';
    for (int i = 0; i < decimals; ++i) text += d.At(d.Exponent + i);
  }
  // A value that rounds to zero carries no sign.
  if (value < 0 && text.find_first_not_of("0.") != std::string::npos) text.insert(text.begin(), '-');
  return text;
}

QString SizeText(const char* prefix, double value, int decimals, QChar decimalPoint) {
  QString number = QString::fromStdString(FloatToFixed(value, decimals));
  if (number.contains(QChar('.')) && !number.contains(QChar('E'))) number.replace(QChar('.'), decimalPoint);
  return QString::fromLatin1(prefix) + number;
}

namespace {

// Replaces the first folder of a folder part by "...": \a\b\ becomes \...\b\, \...\b\ becomes \...\.
QString CutFirstDirectory(QString dir, QChar sep) {
  const bool root = dir.startsWith(sep);
  if (root) dir.remove(0, 1);
  const QString dots = QStringLiteral("...") + sep;
  if (dir.startsWith(dots)) dir.remove(0, 4);
  const qsizetype p = dir.indexOf(sep);
  dir = p >= 0 ? dots + dir.mid(p + 1) : QString();
  if (root) dir.prepend(sep);
  return dir;
}

}  // namespace

QString ShortenPath(const QString& path, int maxWidth, const std::function<int(const QString&)>& width, QChar sep) {
  QString drive, rest = path;
  if (rest.size() >= 2 && rest[1] == QChar(':')) {
    drive = rest.left(2);
    rest.remove(0, 2);
  }
  const qsizetype lastSep = rest.lastIndexOf(sep);
  QString dir = rest.left(lastSep + 1);
  const QString name = rest.mid(lastSep + 1);
  const QString rootDots = sep + QStringLiteral("...") + sep;
  QString text = drive + dir + name;
  while ((!dir.isEmpty() || !drive.isEmpty()) && width(text) > maxWidth) {
    if (dir == rootDots) {
      drive.clear();
      dir = QStringLiteral("...") + sep;
    } else if (!dir.isEmpty()) {
      const QString cut = CutFirstDirectory(dir, sep);
      // A bare root folder ("/" of "/f.mnf") cannot be cut any further: without this the loop
      // would never end.
      dir = cut == dir ? QString() : cut;
    } else {
      drive.clear();
    }
    text = drive + dir + name;
  }
  return text;
}

int StatusPanelWidth(int pixelsPerInch) { return 100 * pixelsPerInch / 96; }

int StatusPanel0Width(int statusBarWidth, int pixelsPerInch) {
  return statusBarWidth - 5 * StatusPanelWidth(pixelsPerInch);
}

}  // namespace qv
