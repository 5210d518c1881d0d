#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "FormatTestSettings.h"
#include "platform/Convert.h"
#include "platform/Format.h"

namespace {

struct PictureCase {
  const char* picture;
  double value;
  const char* expected;  // UTF-8
};

TEST(FormatFloatTest, PicturesWithDotAndComma) {
  const PictureCase cases[] = {
      {"#,##0.00", 1234.5, "1,234.50"},
      {"#,##0.00", 1234567.891, "1,234,567.89"},
      {"#,##0.00", 0.5, "0.50"},
      {"#,##0.00", -1234.5, "-1,234.50"},
      {"#,##0", 999, "999"},
      {"#,##0", 1000, "1,000"},
      {"0.00;(0.00)", -5, "(5.00)"},
      {"0.00;(0.00)", 5, "5.00"},
      {"0.00;(0.00);zero", 0, "zero"},
      {"0.00;;zero", -2.5, "-2.50"},               // empty negative section: first with "-"
      {"0.00;(0.00)", -0.001, "0.00"},             // rounds to zero: no "-0.00", no "(0.00)"
      {"0.00;(0.00);'nic'", -0.001, "nic"},
      {"0.##", 1, "1"},                             // no decimals, no separator
      {"0.##", 1.5, "1.5"},
      {"0.0#", 1.5, "1.5"},
      {"0.0#", 1.567, "1.57"},
      {"#.##", 0, ""},
      {"0", 2.5, "3"},                              // half away from zero
      {"0", -2.5, "-3"},
      {"0.00", 1.005, "1.01"},                      // 15 significant digits, then rounded
      {"0.00", 0.125, "0.13"},
      {"000", 7, "007"},
      {"00-000", 12345, "12-345"},                  // a postal code
      {"#", 123456, "123456"},                      // digits beyond the picture go in front
      {".00", 12.5, "12.50"},
      {"0.00 'zł'", 3, "3.00 zł"},
      {"\"Suma: \"0.00", 3, "Suma: 3.00"},
      {"0.00E+00", 1234.5, "1.23E+03"},
      {"0.00E+00", 0.000123, "1.23E-04"},
      {"0.00E-00", 1234.5, "1.23E03"},
      {"0.00e-0", 0.05, "5.00e-2"},
      {"0.0E+0", 9.96, "1.0E+1"},                   // the carry moves the exponent
      {"0.00E+00", 0, "0.00E+00"},
      {"", 1.5, "1.5"},                             // empty picture: FloatToStr
      {"abc", 7, "abc"},                            // no placeholders: the text alone
  };
  for (const PictureCase& c : cases) {
    EXPECT_EQ(FormatFloat(Ansi(c.picture), c.value, DotComma()), Ansi(c.expected)) << c.picture << " " << c.value;
  }
}

TEST(FormatFloatTest, PolishSeparators) {
  EXPECT_EQ(FormatFloat("#,##0.00", 1234.5, Polish()), "1\xA0" "234,50");
  EXPECT_EQ(FormatFloat(Ansi("#,##0.00 'zł'"), -98765.432, Polish()), Ansi("-98\u00A0765,43 zł"));
  TFormatSettings noGrouping = Polish();
  noGrouping.ThousandSeparator = '\0';
  EXPECT_EQ(FormatFloat("#,##0.00", 1234.5, noGrouping), "1234,50");
}

TEST(FormatFloatTest, ValuesWithoutDigits) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_EQ(FormatFloat("0.00", nan, Polish()), "NAN");
  EXPECT_EQ(FormatFloat("0.00", -inf, Polish()), "-INF");
  EXPECT_EQ(FloatToStr(inf, Polish()), "INF");
}

TEST(FormatFloatTest, HugePicturesAreRefused) {
  const std::string picture = "0." + std::string(kMaxFormatWidth + 1, '0');
  EXPECT_THROW(FormatFloat(picture, 1, Polish()), EConvertError);
  // Large values stay bounded: fifteen digits and zeros.
  EXPECT_EQ(FormatFloat("0", 1e20, DotComma()), "100000000000000000000");
}

struct GeneralCase {
  double value;
  const char* expected;
};

TEST(FormatFloatTest, FloatToStrGeneralText) {
  const GeneralCase cases[] = {
      {0, "0"},
      {1.5, "1,5"},
      {-2.25, "-2,25"},
      {100, "100"},
      {0.1 + 0.2, "0,3"},                       // 15 significant digits hide the binary tail
      {1.0 / 3, "0,333333333333333"},
      {123456789012345, "123456789012345"},
      {1e15, "1E15"},
      {1e20, "1E20"},
      {1.5e-7, "1,5E-7"},
      {0.00001, "0,00001"},
      {0.000001, "1E-6"},
      {-1234.5678e30, "-1,2345678E33"},
  };
  for (const GeneralCase& c : cases) EXPECT_EQ(FloatToStr(c.value, Polish()), c.expected) << c.value;
}

}  // namespace
