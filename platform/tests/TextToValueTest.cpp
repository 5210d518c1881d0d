#include <gtest/gtest.h>

#include <ctime>
#include <optional>

#include "FormatTestSettings.h"
#include "platform/Convert.h"
#include "platform/DateTime.h"
#include "platform/Format.h"

namespace {

struct FloatCase {
  const char* text;
  std::optional<double> value;
};

TEST(TextToValueTest, FloatsWithTheLocaleSeparator) {
  const FloatCase cases[] = {
      {"1,5", 1.5},     {" -2,25 ", -2.25}, {"+3", 3.0},      {"1,5E3", 1500.0}, {"2e-2", 0.02},
      {",5", 0.5},      {"5,", 5.0},        {"1.5", std::nullopt}, {"1 234,5", std::nullopt},
      {"", std::nullopt}, {",", std::nullopt}, {"abc", std::nullopt}, {"1e", std::nullopt},
      {"1e400", std::nullopt}, {"inf", std::nullopt}, {"nan", std::nullopt}, {"1,5x", std::nullopt},
  };
  for (const FloatCase& c : cases) {
    double value = 0;
    const bool ok = TryStrToFloat(c.text, value, Polish());
    EXPECT_EQ(ok, c.value.has_value()) << "'" << c.text << "'";
    if (ok && c.value) {
      EXPECT_DOUBLE_EQ(value, *c.value) << c.text;
    }
  }
  double dot = 0;
  EXPECT_TRUE(TryStrToFloat("1.5", dot, DotComma()));
  try {
    StrToFloat("abc", Polish());
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_STREQ(e.what(), "'abc' is not a valid floating point value");
  }
}

struct DateCase {
  const char* text;
  double value;  // 0: refused
};

TEST(TextToValueTest, DatesInTheShortDateOrder) {
  const DateCase cases[] = {
      {"11.12.2026", EncodeDate(2026, 12, 11)},
      {" 1.2.2026 ", EncodeDate(2026, 2, 1)},
      {"29.02.2000", EncodeDate(2000, 2, 29)},
      {"29.02.2026", 0},
      {"32.01.2026", 0},
      {"11/12/2026", 0},
      {"11.12.2026 10:00", 0},
      {"11", 0},
      {"", 0},
      {"a.b.c", 0},
      {"11.12.20266", 0},
  };
  for (const DateCase& c : cases) {
    double value = 0;
    const bool ok = TryStrToDate(c.text, value, Polish());
    EXPECT_EQ(ok, c.value != 0) << c.text;
    if (ok) {
      EXPECT_EQ(value, c.value) << c.text;
    }
  }
  TFormatSettings us = DotComma();
  us.ShortDateFormat = "mm/dd/yyyy";
  us.DateSeparator = '/';
  EXPECT_EQ(StrToDate("12/11/2026", us), EncodeDate(2026, 12, 11));
  try {
    StrToDate("31.02.2026", Polish());
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_STREQ(e.what(), "'31.02.2026' is not a valid date");
  }
}

TEST(TextToValueTest, ShortYearsAndMissingYears) {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  const int year = local.tm_year + 1900;
  EXPECT_EQ(DecodeDate(StrToDate("7.3", Polish())).Year, year);
  EXPECT_EQ(DecodeDate(StrToDate("7.3.26", Polish())).Year, 2026);
  EXPECT_EQ(DecodeDate(StrToDate(("7.3." + std::to_string((year + 60) % 100)).c_str(), Polish())).Year,
            year + 60 - 100);
}

TEST(TextToValueTest, TimesAndDateTimes) {
  EXPECT_DOUBLE_EQ(StrToTime("14:05", Polish()), EncodeTime(14, 5, 0, 0));
  EXPECT_DOUBLE_EQ(StrToTime("14:05:09", Polish()), EncodeTime(14, 5, 9, 0));
  EXPECT_DOUBLE_EQ(StrToTime("14:05:09.250", Polish()), EncodeTime(14, 5, 9, 250));
  EXPECT_DOUBLE_EQ(StrToTime("2:05 PM", Polish()), EncodeTime(14, 5, 0, 0));
  EXPECT_DOUBLE_EQ(StrToTime("12:00 am", Polish()), 0.0);
  for (const char* bad : {"25:00", "14", "14:60", "13:00 PM", "14:05 xx", "", "1:2:3:4"}) {
    double value = 0;
    EXPECT_FALSE(TryStrToTime(bad, value, Polish())) << bad;
  }
  EXPECT_DOUBLE_EQ(StrToDateTime("11.12.2026 14:05", Polish()), EncodeDate(2026, 12, 11) + EncodeTime(14, 5, 0, 0));
  EXPECT_DOUBLE_EQ(StrToDateTime("11.12.2026", Polish()), EncodeDate(2026, 12, 11));
  try {
    StrToDateTime("11.12.2026 x", Polish());
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_STREQ(e.what(), "'11.12.2026 x' is not a valid date and time");
  }
  try {
    StrToTime("x", Polish());
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_STREQ(e.what(), "'x' is not a valid time");
  }
}

TEST(TextToValueTest, WrittenTextsReadBack) {
  const double moment = EncodeDate(2026, 12, 11) + EncodeTime(14, 5, 9, 0);
  EXPECT_DOUBLE_EQ(StrToDateTime(DateTimeToStr(moment, Polish()), Polish()), moment);
  EXPECT_DOUBLE_EQ(StrToFloat(FloatToStr(-1234.5678, Polish()), Polish()), -1234.5678);
}

}  // namespace
