#include <gtest/gtest.h>

#include <vector>

#include "FormatTestSettings.h"
#include "platform/Convert.h"
#include "platform/Format.h"

namespace {

struct FormatCase {
  const char* format;
  std::vector<Variant> args;
  const char* expected;  // UTF-8
};

TEST(FormatTest, Specifiers) {
  const FormatCase cases[] = {
      {"%5.1f|%-4d|%s", {3.14159, 7, "x"}, "  3.1|7   |x"},
      {"%d", {int32_t{-42}}, "-42"},
      {"%.5d", {int32_t{-42}}, "-00042"},
      {"%d", {int64_t{5000000000}}, "5000000000"},
      {"%d", {uint32_t{4294967295u}}, "-1"},      // a 32-bit unsigned value keeps its bits
      {"%u", {uint32_t{4294967295u}}, "4294967295"},
      {"%u", {int32_t{-1}}, "4294967295"},
      {"%x", {int32_t{255}}, "FF"},
      {"%.4x", {int32_t{255}}, "00FF"},
      {"%X", {int32_t{-1}}, "FFFFFFFF"},
      {"%x", {int64_t{-1}}, "FFFFFFFFFFFFFFFF"},
      {"%p", {int32_t{4096}}, "00001000"},
      {"%f", {2.0}, "2.00"},
      {"%.0f", {2.5}, "3"},
      {"%.3f", {-0.0004}, "0.000"},
      {"%e", {3.14159}, "3.14159000000000E+000"},
      {"%.3e", {-0.000123456}, "-1.23E-004"},
      {"%g", {1234.5}, "1234.5"},
      {"%.3g", {1234.5}, "1.23E3"},
      {"%n", {1234567.891}, "1,234,567.89"},
      {"%.0n", {999.5}, "1,000"},
      {"%m", {1234.5}, "1,234.50 z\u0142"},
      {"%m", {-5.0}, "-5.00 z\u0142"},
      {"%.3s", {"abcdef"}, "abc"},
      {"%-6s|", {"ab"}, "ab    |"},
      {"%6s|", {"ab"}, "    ab|"},
      {"%*d|%-*d|", {4, 7, 3, 8}, "   7|8  |"},
      {"%.*f", {1, 2.25}, "2.3"},
      {"%1:s %0:s %s", {"a", "b"}, "b a b"},
      {"100%%", {}, "100%"},
      {"%d %d", {Variant(), Variant::Null()}, "0 0"},   // Empty and Null are the integer 0
      {"%f", {Variant::Currency(12.3456)}, "12.35"},
      {"%.1f", {Variant::Date(1.5)}, "1.5"},
      {"%s", {std::u16string(u"\u0142\u00f3d\u017a")}, "\u0142\u00f3d\u017a"},
      {"no specifiers", {int32_t{1}}, "no specifiers"},
  };
  for (const FormatCase& c : cases) {
    EXPECT_EQ(Format(c.format, c.args, DotComma()), Ansi(c.expected)) << c.format;
  }
}

TEST(FormatTest, FloatsUseTheLocaleDecimalSeparator) {
  const std::vector<Variant> args = {1234.5};
  EXPECT_EQ(Format("%.2f", args, Polish()), "1234,50");
  EXPECT_EQ(Format("%n", args, Polish()), "1\xA0" "234,50");
}

TEST(FormatTest, TextArgumentsAreCutTo255Characters) {
  const std::vector<Variant> args = {std::string(300, 'a')};
  EXPECT_EQ(Format("%s", args, Polish()), std::string(255, 'a'));
  EXPECT_EQ(Format("%300s", args, Polish()), std::string(45, ' ') + std::string(255, 'a'));
}

struct BadCase {
  const char* format;
  std::vector<Variant> args;
  const char* message;
};

TEST(FormatTest, BadFormatsRaiseTheSystemMessages) {
  const BadCase cases[] = {
      {"%d %d", {1}, "No argument for format '%d %d'"},
      {"%s", {}, "No argument for format '%s'"},
      {"%2:d", {1}, "No argument for format '%2:d'"},
      {"%d", {1.5}, "Format '%d' invalid or incompatible with argument"},
      {"%f", {1}, "Format '%f' invalid or incompatible with argument"},
      {"%s", {1}, "Format '%s' invalid or incompatible with argument"},
      {"%d", {"7"}, "Format '%d' invalid or incompatible with argument"},
      {"%s", {true}, "Format '%s' invalid or incompatible with argument"},
      {"%q", {1}, "Format '%q' invalid or incompatible with argument"},
      {"abc %", {1}, "Format 'abc %' invalid or incompatible with argument"},
      {"%5.", {1}, "Format '%5.' invalid or incompatible with argument"},
      {"%*d", {"x", 1}, "Format '%*d' invalid or incompatible with argument"},
      {"%99999d", {1}, "Format '%99999d' invalid or incompatible with argument"},
      {"%*d", {1000000, 1}, "Format '%*d' invalid or incompatible with argument"},
  };
  for (const BadCase& c : cases) {
    try {
      Format(c.format, c.args, Polish());
      ADD_FAILURE() << "no error for " << c.format;
    } catch (const EConvertError& e) {
      EXPECT_STREQ(e.what(), c.message);
    }
  }
}

struct VarToStrCase {
  Variant value;
  const char* polish;    // UTF-8
  const char* dotComma;
};

TEST(VarToStrTest, ValuesBecomeTextWithTheLocaleRecord) {
  const VarToStrCase cases[] = {
      {Variant(), "", ""},
      {Variant::Null(), "", ""},
      {Variant(Ansi("Kłos")), "Kłos", "Kłos"},
      {Variant(u"Morwa"), "Morwa", "Morwa"},
      {Variant(true), "True", "True"},
      {Variant(int32_t{-42}), "-42", "-42"},
      {Variant(int64_t{5000000000}), "5000000000", "5000000000"},
      {Variant(1234.5), "1234,5", "1234.5"},
      {Variant(0.1 + 0.2), "0,3", "0.3"},
      {Variant::Currency(12.25), "12,25", "12.25"},
      {Variant::Date(45658), "01.01.2025", "01.01.2025"},
      {Variant::Date(45658.75), "01.01.2025 18:00:00", "01.01.2025 18:00:00"},
  };
  for (const VarToStrCase& c : cases) {
    std::string text;
    ASSERT_TRUE(TryVarToStr(c.value, text, Polish())) << c.polish;
    EXPECT_EQ(text, Ansi(c.polish));
    ASSERT_TRUE(TryVarToStr(c.value, text, DotComma())) << c.dotComma;
    EXPECT_EQ(text, Ansi(c.dotComma));
  }
}

TEST(VarToStrTest, ValuesWithoutTextAreRefused) {
  std::string text = "stale";
  EXPECT_FALSE(TryVarToStr(Variant::Array(0, 1), text, Polish()));
  EXPECT_EQ(text, "");
  EXPECT_FALSE(TryVarToStr(Variant::Error(5), text, Polish()));
}

}  // namespace
