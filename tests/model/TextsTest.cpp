// Texts of the documents: letters folded in the ASCII range only, Windows-1252 decoded to UTF-8.
#include <gtest/gtest.h>

#include "model/Texts.h"

namespace qv {
namespace {

TEST(Texts, OnlyTheLettersAToZAreFolded) {
  EXPECT_EQ(UpperCase("plug 1/4\" \xE4z"), "PLUG 1/4\" \xE4Z");
  EXPECT_TRUE(EqualIgnoringCase("Stop", "sTOP"));
  EXPECT_FALSE(EqualIgnoringCase("\xE4", "\xC4"));
  EXPECT_FALSE(EqualIgnoringCase("ab", "abc"));
  EXPECT_TRUE(EqualIgnoringCase("", ""));
}

TEST(Texts, Windows1252AsUtf8) {
  EXPECT_EQ(Cp1252ToUtf8("A\x7F"), "A\x7F");
  EXPECT_EQ(Cp1252ToUtf8("\xB0\xF8"), "\u00B0\u00F8");       // two bytes each
  EXPECT_EQ(Cp1252ToUtf8("\x80\x9F"), "\u20AC\u0178");       // the code page's own 0x80-0x9F
  EXPECT_EQ(Cp1252ToUtf8("\x81\x9D"), "\u0081\u009D");       // undefined: the C1 control
}

}  // namespace
}  // namespace qv
