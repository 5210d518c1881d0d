#include "platform/CodePage.h"

#include <gtest/gtest.h>

TEST(CodePage, PolishLettersRoundTripThroughWindows1250) {
  const std::u16string wide = u"Zażółć gęślą jaźń ĄĘŁŃÓŚŹŻ";
  const std::string ansi = codepage::FromWide(wide);
  EXPECT_EQ(ansi.size(), wide.size());  // one byte per character
  EXPECT_EQ(static_cast<uint8_t>(ansi[2]), 0xBF);  // ż
  EXPECT_EQ(codepage::ToWide(ansi), wide);
  EXPECT_EQ(codepage::Utf8ToAnsi(codepage::AnsiToUtf8(ansi)), ansi);
  EXPECT_EQ(codepage::WideToUtf8(wide), "Zażółć gęślą jaźń ĄĘŁŃÓŚŹŻ");
}

TEST(CodePage, UnrepresentableAndMalformedInputNeverFails) {
  EXPECT_EQ(codepage::FromWide(u"a\u4e2db"), "a?b");
  EXPECT_EQ(codepage::Utf8ToWide("a\xC3"), u"a\uFFFD");         // truncated sequence
  EXPECT_EQ(codepage::Utf8ToWide("\xFF" "b"), u"\uFFFDb");     // invalid byte
  EXPECT_EQ(codepage::ToWide("\x98", 1250), u"\uFFFD");         // undefined in Windows-1250
}

TEST(CodePage, CharsetToCodePage) {
  struct Case { int charset; int codePage; };
  for (Case c : {Case{238, 1250}, Case{204, 1251}, Case{161, 1253}, Case{162, 1254}, Case{1, 1250},
                 Case{0, 1252}, Case{186, 1257}, Case{128, 932}})
    EXPECT_EQ(codepage::CharsetCodePage(c.charset), c.codePage) << c.charset;
  EXPECT_EQ(codepage::ToWide("\xC0", codepage::CharsetCodePage(204)), u"А");  // Cyrillic A
}
