// The status bar's texts: sizes in fixed-point notation and the path shortened to its panel.
#include <gtest/gtest.h>

#include <QStringList>

#include "app/StatusTexts.h"

namespace qv {
namespace {

TEST(FloatToFixed, RoundsToTwelveDigitsThenToTheDecimals) {
  EXPECT_EQ(FloatToFixed(100, 2), "100.00");
  EXPECT_EQ(FloatToFixed(80, 0), "80");
  // Exact halves round away from zero, not to even.
  EXPECT_EQ(FloatToFixed(0.125, 2), "0.13");
  EXPECT_EQ(FloatToFixed(-0.125, 2), "-0.13");
  EXPECT_EQ(FloatToFixed(2.5, 0), "3");
  // 999.995 is stored as 999.99499999999989...: twelve digits give 999.995000000, which then
  // rounds up at two decimals.
  EXPECT_EQ(FloatToFixed(999.995, 2), "1000.00");
  EXPECT_EQ(FloatToFixed(0.0149, 3), "0.015");
  EXPECT_EQ(FloatToFixed(1234.5678, 2), "1234.57");
  // A value that rounds to zero has no sign.
  EXPECT_EQ(FloatToFixed(-0.001, 2), "0.00");
  EXPECT_EQ(FloatToFixed(0, 2), "0.00");
  // Decimals outside 0 to 18 are brought into that range.
  EXPECT_EQ(FloatToFixed(1.5, -3), "2");
  EXPECT_EQ(FloatToFixed(1, 40), "1.000000000000000000");
  // Twelve significant digits at most: the thirteenth is rounded away.
  EXPECT_EQ(FloatToFixed(123456789012.5, 2), "123456789013.00");
  EXPECT_EQ(FloatToFixed(1e15, 2), "1.00000000000E+15");
}

TEST(FloatToFixed, NonFiniteValuesHaveNames) {
  EXPECT_EQ(FloatToFixed(std::nan(""), 2), "NAN");
  EXPECT_EQ(FloatToFixed(HUGE_VAL, 2), "INF");
  EXPECT_EQ(FloatToFixed(-HUGE_VAL, 2), "-INF");
}

TEST(SizeText, UsesTheLocaleDecimalSeparator) {
  EXPECT_EQ(SizeText("Xmax=", 100, 2, QChar('.')), "Xmax=100.00");
  EXPECT_EQ(SizeText("Zmax=", 50.25, 1, QChar(',')), "Zmax=50,3");
}

// One unit per character.
int Chars(const QString& s) { return static_cast<int>(s.size()); }

// Every step the shortening takes, from the full text down to the one that fits in `width`; each
// step must be narrower than the one before.
QStringList Steps(const QString& path, QChar sep, const std::function<int(const QString&)>& width = Chars) {
  QStringList steps;
  for (int limit = width(path); limit >= 0; --limit) {
    const QString s = ShortenPath(path, limit, width, sep);
    if (steps.isEmpty() || steps.last() != s) steps << s;
  }
  return steps;
}

TEST(ShortenPath, ReplacesFoldersFromTheLeftThenDropsDriveAndFolders) {
  // "..." measured as nothing, so that even one-letter folders get narrower step by step.
  const auto dotsAreFree = [](const QString& s) { return static_cast<int>(s.size() - 3 * s.count("...")); };
  EXPECT_EQ(Steps("C:\\a\\b\\c\\f.mnf", QChar('\\'), dotsAreFree),
            QStringList({"C:\\a\\b\\c\\f.mnf", "C:\\...\\b\\c\\f.mnf", "C:\\...\\c\\f.mnf", "C:\\...\\f.mnf",
                         "...\\f.mnf", "f.mnf"}));
  EXPECT_EQ(Steps("/home/ann/blocks/f.mnf", QChar('/')),
            QStringList({"/home/ann/blocks/f.mnf", "/.../ann/blocks/f.mnf", "/.../blocks/f.mnf", "/.../f.mnf",
                         ".../f.mnf", "f.mnf"}));
  // A relative folder part loses its folders the same way.
  EXPECT_EQ(Steps("alpha/beta/f.mnf", QChar('/')),
            QStringList({"alpha/beta/f.mnf", ".../beta/f.mnf", ".../f.mnf", "f.mnf"}));
  // A step may come out wider than the text before it; shortening goes on until the text fits.
  EXPECT_EQ(ShortenPath("/a/b/f.mnf", 9, Chars), ".../f.mnf");
}

TEST(ShortenPath, EndsForEveryShapeOfPath) {
  // A file in the root folder: the root cannot be cut, so it is dropped (and the loop ends).
  EXPECT_EQ(ShortenPath("/f.mnf", 2, Chars), "f.mnf");
  EXPECT_EQ(ShortenPath("C:f.mnf", 2, Chars, QChar('\\')), "f.mnf");
  EXPECT_EQ(ShortenPath("f.mnf", 0, Chars), "f.mnf");
  EXPECT_EQ(ShortenPath("//server//x.mnf", 0, Chars), "x.mnf");
  EXPECT_EQ(ShortenPath("", 0, Chars), "");
  // What fits stays as it is.
  EXPECT_EQ(ShortenPath("/a/b/f.mnf", 100, Chars), "/a/b/f.mnf");
}

TEST(StatusPanels, PanelZeroTakesWhatTheFiveFixedPanelsLeave) {
  EXPECT_EQ(StatusPanel0Width(680, 120), 680 - 5 * 125);
  EXPECT_EQ(StatusPanel0Width(680, 96), 180);
  EXPECT_EQ(StatusPanelWidth(144), 150);
}

}  // namespace
}  // namespace qv
