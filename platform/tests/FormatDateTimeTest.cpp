#include <gtest/gtest.h>

#include "FormatTestSettings.h"
#include "platform/DateTime.h"
#include "platform/Format.h"

namespace {

struct PictureCase {
  const char* picture;
  const char* expected;  // UTF-8
};

// Friday 11 December 2026, 14:05:09.007, and Saturday 7 March 2026, 09:03:00.
const double kFriday = EncodeDate(2026, 12, 11) + EncodeTime(14, 5, 9, 7);
const double kMorning = EncodeDate(2026, 3, 7) + EncodeTime(9, 3, 0, 0);

TEST(FormatDateTimeTest, PicturesInPolish) {
  const PictureCase cases[] = {
      {"hh:mm", "14:05"},                 // minutes after an hour
      {"dd.mm.yyyy", "11.12.2026"},       // month elsewhere
      {"hh:nn:ss.zzz", "14:05:09.007"},
      {"h:n:s.z", "14:5:9.7"},
      {"d.m.yy", "11.12.26"},
      {"yyyy-mm-dd hh:mm", "2026-12-11 14:05"},
      {"hh dd mm", "14 11 12"},           // nearest letter token before mm is a day
      {"ddd, dddd", "pt., piątek"},
      {"mmm mmmm", "gru grudzień"},
      {"ddddd", "11.12.2026"},
      {"dddddd", "11 grudzień 2026"},
      {"c", "11.12.2026 14:05:09"},
      {"", "11.12.2026 14:05:09"},
      {"t|tt", "14:05|14:05:09"},
      {"h:nn am/pm", "2:05 pm"},
      {"h:nn AM/PM", "2:05 PM"},
      {"hh a/p", "02 p"},
      {"hh ampm", "02 PM"},
      {"dd/mm/yyyy", "11.12.2026"},       // "/" is the locale's date separator
      {"'dnia' d \"mmmm\"", "dnia 11 mmmm"},
      {"DD.MM.YYYY HH:NN", "11.12.2026 14:05"},
      {"[dd]", "[11]"},
  };
  for (const PictureCase& c : cases) {
    EXPECT_EQ(FormatDateTime(c.picture, kFriday, Polish()), Ansi(c.expected)) << c.picture;
  }
}

TEST(FormatDateTimeTest, MorningAndMidnight) {
  EXPECT_EQ(FormatDateTime("h:nn am/pm dddd", kMorning, Polish()), "9:03 am sobota");
  EXPECT_EQ(FormatDateTime("hh:nn AM/PM", EncodeDate(2026, 3, 7), Polish()), "12:00 AM");
  // Without a time of day "c" writes the date only.
  EXPECT_EQ(FormatDateTime("c", EncodeDate(2026, 3, 7), Polish()), "07.03.2026");
  EXPECT_EQ(DateToStr(kMorning, Polish()), "07.03.2026");
  EXPECT_EQ(TimeToStr(kMorning, Polish()), "09:03:00");
  EXPECT_EQ(DateTimeToStr(kMorning, Polish()), "07.03.2026 09:03:00");
  EXPECT_EQ(DateTimeToStr(EncodeDate(2026, 3, 7), Polish()), "07.03.2026");
}

TEST(FormatDateTimeTest, SeparatorsAndSelfNamingPictures) {
  TFormatSettings s = Polish();
  s.DateSeparator = '-';
  s.TimeSeparator = '.';
  EXPECT_EQ(FormatDateTime("dd/mm/yy hh:nn", kFriday, s), "11-12-26 14.05");
  s.ShortDateFormat = "c";  // names itself: must end
  EXPECT_NO_THROW(FormatDateTime("c", kFriday, s));
}

TEST(FormatDateTimeTest, ValuesOutsideTheCalendarDoNotFail) {
  EXPECT_EQ(FormatDateTime("dd.mm.yyyy", 1e300, Polish()), "00.00.0000");
  EXPECT_EQ(FormatDateTime("mmmm", -1e9, Polish()), "");
}

}  // namespace
