#include "platform/DateTime.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/Convert.h"

namespace {

struct DateCase {
  int year, month, day;
  double serial;
  int dayOfWeek;  // 1 Sunday .. 7 Saturday
};

TEST(DateTimeTest, EncodeAndDecodeDates) {
  const DateCase cases[] = {
      {1899, 12, 30, 0, 7},        {1899, 12, 31, 1, 1},   {1899, 12, 29, -1, 6},
      {2000, 2, 29, 36585, 3},     {2026, 12, 11, 46367, 6}, {1, 1, 1, -693593, 2},
      {9999, 12, 31, 2958465, 6},
  };
  for (const DateCase& c : cases) {
    EXPECT_EQ(EncodeDate(c.year, c.month, c.day), c.serial) << c.year << "-" << c.month << "-" << c.day;
    // The time of day is the fraction's magnitude on either side of day 0.
    const TDateParts parts = DecodeDate(c.serial + (c.serial < 0 ? -0.75 : 0.75));
    EXPECT_EQ(parts.Year, c.year);
    EXPECT_EQ(parts.Month, c.month);
    EXPECT_EQ(parts.Day, c.day);
    EXPECT_EQ(DayOfWeek(c.serial), c.dayOfWeek) << c.serial;
  }
}

TEST(DateTimeTest, DaysThatDoNotExistAreRefused) {
  const int bad[][3] = {{2026, 13, 1}, {2026, 0, 1}, {2026, 2, 29}, {1900, 2, 29}, {2026, 4, 31},
                        {0, 1, 1},     {10000, 1, 1}, {2026, 1, 0}};
  for (const auto& d : bad) {
    try {
      EncodeDate(d[0], d[1], d[2]);
      ADD_FAILURE() << d[0] << "-" << d[1] << "-" << d[2];
    } catch (const EConvertError& e) {
      EXPECT_STREQ(e.what(), "Invalid argument to date encode");
    }
  }
}

TEST(DateTimeTest, LeapYearsAndMonthLengths) {
  EXPECT_EQ(DaysInMonth(2000, 2), 29);
  EXPECT_EQ(DaysInMonth(1900, 2), 28);
  EXPECT_EQ(DaysInMonth(2024, 2), 29);
  EXPECT_EQ(DaysInMonth(2026, 2), 28);
  EXPECT_EQ(DaysInMonth(2026, 4), 30);
  EXPECT_EQ(DaysInMonth(2026, 12), 31);
  EXPECT_EQ(DaysInMonth(2026, 13), 0);
  EXPECT_TRUE(IsLeapYear(2000));
  EXPECT_FALSE(IsLeapYear(2100));
}

TEST(DateTimeTest, Times) {
  EXPECT_DOUBLE_EQ(EncodeTime(12, 0, 0, 0), 0.5);
  EXPECT_DOUBLE_EQ(EncodeTime(6, 30, 15, 250), (6 * 3600000.0 + 30 * 60000.0 + 15000 + 250) / 86400000.0);
  const TTimeParts t = DecodeTime(46367 + EncodeTime(23, 59, 58, 999));
  EXPECT_EQ(t.Hour, 23);
  EXPECT_EQ(t.Minute, 59);
  EXPECT_EQ(t.Second, 58);
  EXPECT_EQ(t.Millisecond, 999);
  // Before day 0 the time is the fraction's magnitude.
  const TTimeParts before = DecodeTime(-1.25);
  EXPECT_EQ(before.Hour, 6);
  EXPECT_EQ(DecodeDate(-1.25).Day, 29);
  for (auto bad : {std::array{24, 0, 0, 0}, std::array{0, 60, 0, 0}, std::array{0, 0, 60, 0},
                   std::array{0, 0, 0, 1000}, std::array{-1, 0, 0, 0}}) {
    EXPECT_THROW(EncodeTime(bad[0], bad[1], bad[2], bad[3]), EConvertError);
  }
}

TEST(DateTimeTest, AlmostMidnightCarriesIntoTheNextDay) {
  TDateParts date;
  TTimeParts time;
  DecodeDateTime(46367.9999999999, date, time);
  EXPECT_EQ(date.Day, 12);
  EXPECT_EQ(time.Hour, 0);
}

TEST(DateTimeTest, ValuesOutsideTheCalendarDecodeToZeros) {
  for (double value : {1e300, -1e300, 3e6, -7e5, std::numeric_limits<double>::quiet_NaN()}) {
    const TDateParts parts = DecodeDate(value);
    EXPECT_EQ(parts.Year, 0) << value;
    EXPECT_EQ(parts.Month, 0);
  }
}

TEST(DateTimeTest, NowIsTodayPlusTheTime) {
  const double now = Now();
  EXPECT_GT(now, EncodeDate(2020, 1, 1));
  EXPECT_EQ(Date(), std::trunc(Date()));
  EXPECT_LT(Time(), 1.0);
}

}  // namespace
