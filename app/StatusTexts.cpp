#include "app/StatusTexts.h"


#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace qv {

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
