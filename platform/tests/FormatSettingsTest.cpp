#include "platform/FormatSettings.h"

#include <gtest/gtest.h>

#include "FormatTestSettings.h"
#include "platform/Format.h"

namespace {

TEST(FormatSettingsTest, PolishRecord) {
  const TFormatSettings& s = PolishFormatSettings();
  EXPECT_EQ(s.DecimalSeparator, ',');
  EXPECT_EQ(s.ThousandSeparator, '\xA0');
  EXPECT_EQ(s.ShortDateFormat, "dd.mm.yyyy");
  EXPECT_EQ(s.LongMonthNames[0], Ansi("styczeń"));
  EXPECT_EQ(s.LongDayNames[0], "niedziela");
  EXPECT_EQ(s.LongDayNames[3], Ansi("środa"));
  EXPECT_EQ(s.CurrencyString, Ansi("zł"));
}

// The C locale is always present: its data translated into a record shows the
// translation of pictures and names.
TEST(FormatSettingsTest, LocaleDataIsTranslated) {
  TFormatSettings s;
  ASSERT_TRUE(ReadLocaleFormatSettings("C", s));
  EXPECT_EQ(s.DecimalSeparator, '.');
  EXPECT_EQ(s.ShortDateFormat, "mm/dd/yy");
  EXPECT_EQ(s.DateSeparator, '/');
  EXPECT_EQ(s.LongTimeFormat, "hh:nn:ss");
  EXPECT_EQ(s.ShortTimeFormat, "hh:nn");
  EXPECT_EQ(s.TimeSeparator, ':');
  EXPECT_EQ(s.LongDayNames[0], "Sunday");
  EXPECT_EQ(s.ShortMonthNames[11], "Dec");
  EXPECT_EQ(s.TimeAMString, "AM");
  EXPECT_FALSE(ReadLocaleFormatSettings("xx_NOWHERE.UTF-8", s));
}

TEST(FormatSettingsTest, ScopedRecordIsRestored) {
  const char before = CurrentFormatSettings().DecimalSeparator;
  {
    TFormatSettings dot = PolishFormatSettings();
    dot.DecimalSeparator = before == '.' ? ';' : '.';
    TScopedFormatSettings scoped(dot);
    EXPECT_EQ(CurrentFormatSettings().DecimalSeparator, dot.DecimalSeparator);
    EXPECT_EQ(FloatToStr(1.5), std::string("1") + dot.DecimalSeparator + "5");
  }
  EXPECT_EQ(CurrentFormatSettings().DecimalSeparator, before);
}

}  // namespace
