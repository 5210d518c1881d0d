#include "platform/TextCase.h"

#include <gtest/gtest.h>

#include "FormatTestSettings.h"

namespace {

TEST(TextCaseTest, PolishLettersChangeCase) {
  EXPECT_EQ(AnsiUpperCase(Ansi("zażółć gęślą jaźń")), Ansi("ZAŻÓŁĆ GĘŚLĄ JAŹŃ"));
  EXPECT_EQ(AnsiLowerCase(Ansi("ZAŻÓŁĆ GĘŚLĄ JAŹŃ 12")), Ansi("zażółć gęślą jaźń 12"));
  // Characters without a case stay: digits, signs, the multiplication sign, ß.
  const std::string noCase = Ansi("0-9 ×÷ ß § ‹›");
  EXPECT_EQ(AnsiUpperCase(noCase), noCase);
  EXPECT_EQ(AnsiLowerCase(noCase), noCase);
}

TEST(TextCaseTest, EveryCaseChangeIsUndoneByTheOther) {
  for (int i = 0; i < 256; ++i) {
    const char c = static_cast<char>(i);
    if (AnsiUpperChar(c) != c) {
      EXPECT_EQ(AnsiLowerChar(AnsiUpperChar(c)), c) << i;
    }
    if (AnsiLowerChar(c) != c) {
      EXPECT_EQ(AnsiUpperChar(AnsiLowerChar(c)), c) << i;
    }
  }
}

TEST(TextCaseTest, CompareTextIgnoresCase) {
  EXPECT_EQ(AnsiCompareText(Ansi("Łódź"), Ansi("ŁÓDŹ")), 0);
  EXPECT_LT(AnsiCompareText("abc", "ABD"), 0);
  EXPECT_GT(AnsiCompareText("b", "A"), 0);
  EXPECT_LT(AnsiCompareText("ab", "abc"), 0);
  EXPECT_EQ(AnsiCompareText("", ""), 0);
}

}  // namespace
