// The conversions from old encodings that every legacy reader relies on.
#include <gtest/gtest.h>

#include <cmath>

#include "legacy/Convert.h"
#include "model/Holes.h"
#include "model/PartTexts.h"
#include "tests/legacy/OldBytes.h"

namespace qv {
namespace {

TEST(PaletteColor, SixteenColoursAsRedInTheLowByteAndBlackOutside) {
  EXPECT_EQ(PaletteColor(1), 0x800000);   // navy
  EXPECT_EQ(PaletteColor(4), 0x000080);   // maroon
  EXPECT_EQ(PaletteColor(12), 0x0000FF);  // red
  EXPECT_EQ(PaletteColor(14), 0x00FFFF);  // yellow
  EXPECT_EQ(PaletteColor(15), 0xFFFFFF);
  EXPECT_EQ(PaletteColor(0), 0);
  EXPECT_EQ(PaletteColor(16), 0);
  EXPECT_EQ(PaletteColor(255), 0);
  EXPECT_EQ(PaletteColor(-1), 0);
}

TEST(FixSingle, OldLengthsComeBackWithFourDecimals) {
  EXPECT_EQ(FixSingle(0.1f), 0.1);
  EXPECT_EQ(FixSingle(12.7f), 12.7);
  EXPECT_NE(static_cast<double>(12.7f), 12.7);  // the reason for the rounding
  EXPECT_EQ(FixSingle(-3.3f), -3.3);
  // Halves go to the even neighbour: 312.5 ten-thousandths down, 937.5 up.
  EXPECT_EQ(FixSingle(0.03125f), 0.0312);
  EXPECT_EQ(FixSingle(0.09375f), 0.0938);
  EXPECT_EQ(FixSingle(-0.03125f), -0.0312);
  EXPECT_EQ(FixSingle(1e30f), static_cast<double>(1e30f));
  EXPECT_TRUE(std::isnan(FixSingle(NAN)));
  EXPECT_TRUE(std::isinf(FixSingle(INFINITY)));
}

TEST(SplitRotationPrefix, AnAtSignAndADigitFromZeroToThreeTurnTheLabel) {
  TRotatedText r = SplitRotationPrefix("@2AB");
  EXPECT_EQ(r.Text, "AB");
  EXPECT_EQ(r.Angle, 180);
  r = SplitRotationPrefix("@3");
  EXPECT_EQ(r.Text, "");
  EXPECT_EQ(r.Angle, 270);
  r = SplitRotationPrefix("@5AB");
  EXPECT_EQ(r.Text, "@5AB");
  EXPECT_EQ(r.Angle, 0);
  r = SplitRotationPrefix("@");
  EXPECT_EQ(r.Text, "@");
  EXPECT_EQ(r.Angle, 0);
  r = SplitRotationPrefix("A@1");
  EXPECT_EQ(r.Text, "A@1");
  EXPECT_EQ(r.Angle, 0);
}

TEST(CopyChoiceAndFlag, OutOfRangeOldBytesKeepTheTarget) {
  uint8_t choice = 1;
  CopyChoice(7, choice);
  EXPECT_EQ(choice, 1);
  CopyChoice(2, choice);
  EXPECT_EQ(choice, 2);
  CopyChoice(0, choice);
  EXPECT_EQ(choice, 0);
  bool flag = false;
  CopyFlag(2, flag);
  EXPECT_FALSE(flag);
  CopyFlag(1, flag);
  EXPECT_TRUE(flag);
  CopyFlag(255, flag);
  EXPECT_TRUE(flag);
  CopyFlag(0, flag);
  EXPECT_FALSE(flag);
}

TEST(CopyBits, HoleFlagsAreRenumberedAndTheDroppedBitsLost) {
  uint16_t flags = 0xFFFF;
  CopyBits(255, flags, HoleFlagBits);  // the target is cleared first
  EXPECT_EQ(flags, 1 + 2 + 4 + 8 + 256);
  CopyBits(128, flags, HoleFlagBits);
  EXPECT_EQ(flags, THole::AngledBit);
  CopyBits(512 | 1024 | 2048 | 4096, flags, HoleFlagBits);
  EXPECT_EQ(flags, 1024 + 2048 + 4096 + 8192);
  CopyBits(16 | 32 | 64 | 256, flags, HoleFlagBits);
  EXPECT_EQ(flags, 0);
  uint16_t step = 0;
  CopyBits(0xFFFF, step, StepFlagBits);
  EXPECT_EQ(step, 31);
  uint8_t options = 0;
  CopyBits(0xFF, options, ManifoldOptionBits6);
  EXPECT_EQ(options, 63);
  EXPECT_EQ(SameBits(0xFFFFFFFFu, 9, 20), 0x1FFE00u);
}

TEST(CopyPartTexts, TheFirst205BytesFillFourTextsAndTheByte) {
  test::TOldBytes old(205);
  old.Str(0, "Body").Str(51, "Steel").Str(82, "Note").Str(153, "Code").U8(204, 0);
  TPartTexts texts;
  texts.Text7060 = "kept";
  CopyPartTexts(TByteCursor(old.Bytes()), texts);
  EXPECT_EQ(texts.Text7010, "Body");
  EXPECT_EQ(texts.Text7020, "Steel");
  EXPECT_EQ(texts.Text7030, "Note");
  EXPECT_EQ(texts.Text7040, "Code");
  EXPECT_EQ(texts.Value7050, 0);
  EXPECT_EQ(texts.Text7060, "kept");
  // A block cut short fills only the texts it holds whole.
  TPartTexts cut;
  CopyPartTexts(TByteCursor(old.Bytes()).Part(0, 56), cut);
  EXPECT_EQ(cut.Text7010, "Body");
  EXPECT_EQ(cut.Text7020, "");
  EXPECT_EQ(cut.Value7050, 1);
}

TEST(OldRecord, AStringNeverReachesIntoTheNextFieldOrPastTheBlock) {
  test::TOldBytes old(12);
  old.Str(0, "ABCDEFGHIJK", 200);
  TOldRecord r{TByteCursor(old.Bytes())};
  EXPECT_EQ(r.String(0, 5), "ABCDE");
  EXPECT_EQ(r.String(0, 100), "ABCDEFGHIJK");  // the block ends after 11 characters
  std::string target = "x";
  r.SetString(12, 5, target, 10);              // not in the block: untouched
  EXPECT_EQ(target, "x");
  r.SetString(0, 8, target, 3);                // cut to the model's capacity
  EXPECT_EQ(target, "ABC");
  r.SetString(0, 20, target, 30);              // counts 20 characters, holds 11: untouched
  EXPECT_EQ(target, "ABC");
  double d = 7;
  r.SetFixed(10, d);  // only two bytes left
  EXPECT_EQ(d, 7);
}

TEST(ConvertOldTilt, DirectionsFromTheFaceAndTheSignOfTheAngle) {
  struct TCase {
    double A, D;
    int Face;
    double WantA, WantD;
  } cases[] = {
      {-15, 0, 3, 15, 270}, {-15, 45, 3, 0, 0},   {30, 0, 3, 30, 90},   {30, 0, 2, 30, 180},
      {30, 0, 6, 30, 180},  {30, 0, 4, 30, 270},  {30, 0, 1, 30, 0},    {-30, 0, 1, 30, 180},
      {-30, 0, 4, 30, 90},  {-30, 0, 2, 30, 0},   {20, 90, 2, 20, 270}, {20, 90, 3, 20, 0},
      {-20, 90, 4, 20, 180}, {-20, 90, 2, 20, 90}, {0, 90, 2, 0, 0},     {400, 0, 1, 40, 0},
  };
  for (const TCase& c : cases) {
    double a = c.A, d = c.D;
    ConvertOldTilt(a, d, c.Face);
    EXPECT_EQ(a, c.WantA) << c.A << " " << c.D << " face " << c.Face;
    EXPECT_EQ(d, c.WantD) << c.A << " " << c.D << " face " << c.Face;
  }
}

TEST(EncodeDateTime, DaysSinceTheEndOf1899AndNoneForImpossibleDates) {
  double t = -1;
  ASSERT_TRUE(EncodeDateTime(1899, 12, 30, 0, 0, 0, t));
  EXPECT_EQ(t, 0.0);
  ASSERT_TRUE(EncodeDateTime(2000, 1, 1, 12, 0, 0, t));
  EXPECT_EQ(t, 36526.5);
  ASSERT_TRUE(EncodeDateTime(1996, 2, 29, 6, 0, 0, t));
  EXPECT_EQ(t, 35124.25);
  t = 5;
  EXPECT_FALSE(EncodeDateTime(1900, 2, 29, 0, 0, 0, t));
  EXPECT_FALSE(EncodeDateTime(1997, 13, 1, 0, 0, 0, t));
  EXPECT_FALSE(EncodeDateTime(1997, 4, 31, 0, 0, 0, t));
  EXPECT_FALSE(EncodeDateTime(0, 1, 1, 0, 0, 0, t));
  EXPECT_FALSE(EncodeDateTime(1997, 1, 1, 24, 0, 0, t));
  EXPECT_EQ(t, 5);
}

}  // namespace
}  // namespace qv
