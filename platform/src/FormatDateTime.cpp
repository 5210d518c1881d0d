// The date pictures of FormatDateTime and the date texts built on them.
#include <cctype>
#include <cmath>

#include "platform/DateTime.h"
#include "platform/Format.h"

namespace {

char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

bool StartsWithNoCase(std::string_view text, size_t pos, std::string_view word) {
  if (pos + word.size() > text.size()) return false;
  for (size_t i = 0; i < word.size(); ++i)
    if (Lower(text[pos + i]) != word[i]) return false;
  return true;
}

std::string TwoDigits(int value) {
  std::string digits = std::to_string(value);
  return digits.size() < 2 ? "0" + digits : digits;
}

std::string Padded(int value, size_t width) {
  std::string digits = std::to_string(value);
  if (digits.size() < width) digits.insert(0, width - digits.size(), '0');
  return digits;
}

// The length of the am/pm token at pos: "am/pm" 5, "a/p" 3, "ampm" 4, else 0.
size_t AmPmLength(std::string_view picture, size_t pos) {
  if (StartsWithNoCase(picture, pos, "am/pm")) return 5;
  if (StartsWithNoCase(picture, pos, "a/p")) return 3;
  if (StartsWithNoCase(picture, pos, "ampm")) return 4;
  return 0;
}

// Whether an am/pm token stands anywhere after pos (outside quotes).
bool AmPmFollows(std::string_view picture, size_t pos) {
  char quote = 0;
  for (size_t i = pos; i < picture.size(); ++i) {
    const char c = picture[i];
    if (quote) {
      if (c == quote) quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (AmPmLength(picture, i)) {
      return true;
    }
  }
  return false;
}

// The locale's own pictures (short date, long time) are written through the same
// writer; a locale picture that names itself ("c" inside the short date) must not
// recurse without end.
constexpr int kMaxPictureNesting = 3;

class TDateTimeWriter {
 public:
  TDateTimeWriter(double value, const TFormatSettings& settings) : value_(value), settings_(settings) {
    DecodeDateTime(value, date_, time_);
  }

  void Write(std::string_view picture, int nesting) {
    if (nesting > kMaxPictureNesting) return;
    bool lastWasHour = false;  // the nearest preceding letter token was an hour
    size_t i = 0;
    while (i < picture.size()) {
      const char c = picture[i];
      const char letter = Lower(c);
      if (c == '"' || c == '\'') {
        const size_t end = picture.find(c, i + 1);
        const size_t stop = end == std::string_view::npos ? picture.size() : end;
        out_.append(picture.substr(i + 1, stop - i - 1));
        i = stop + 1;
        continue;
      }
      if (letter == 'a') {
        if (size_t length = AmPmLength(picture, i)) {
          WriteAmPm(picture.substr(i, length));
          i += length;
          lastWasHour = false;
          continue;
        }
        out_ += c;
        ++i;
        continue;
      }
      size_t run = 1;
      while (i + run < picture.size() && Lower(picture[i + run]) == letter) ++run;
      bool isHour = false;
      switch (letter) {
        case 'c':
          WriteShortDateAndTime(nesting);
          run = 1;
          break;
        case 'd': run = WriteDay(run, nesting); break;
        case 'm':
          run = std::min<size_t>(run, 4);
          if (lastWasHour && run <= 2) WriteNumber(time_.Minute, run);
          else WriteMonth(run);
          break;
        case 'y':
          out_ += run <= 2 ? TwoDigits(date_.Year % 100) : Padded(date_.Year, 4);
          break;
        case 'h':
          run = std::min<size_t>(run, 2);
          WriteNumber(AmPmFollows(picture, i + run) ? TwelveHour(time_.Hour) : time_.Hour, run);
          isHour = true;
          break;
        case 'n':
          run = std::min<size_t>(run, 2);
          WriteNumber(time_.Minute, run);
          break;
        case 's':
          run = std::min<size_t>(run, 2);
          WriteNumber(time_.Second, run);
          break;
        case 'z':
          run = std::min<size_t>(run, 3);
          out_ += run < 3 ? std::to_string(time_.Millisecond) : Padded(time_.Millisecond, 3);
          break;
        case 't':
          run = std::min<size_t>(run, 2);
          Write(run == 1 ? settings_.ShortTimeFormat : settings_.LongTimeFormat, nesting + 1);
          break;
        case '/':
          if (settings_.DateSeparator) out_ += settings_.DateSeparator;
          run = 1;
          break;
        case ':':
          if (settings_.TimeSeparator) out_ += settings_.TimeSeparator;
          run = 1;
          break;
        default:
          out_ += c;
          run = 1;
          i += run;
          continue;  // not a letter token: the hour context stays
      }
      lastWasHour = isHour || (lastWasHour && (letter == '/' || letter == ':'));
      i += run;
    }
  }

  const std::string& Text() const { return out_; }

 private:
  static int TwelveHour(int hour) {
    const int h = hour % 12;
    return h == 0 ? 12 : h;
  }

  void WriteNumber(int value, size_t run) { out_ += run >= 2 ? TwoDigits(value) : std::to_string(value); }

  void WriteShortDateAndTime(int nesting) {
    Write(settings_.ShortDateFormat, nesting + 1);
    if (time_.Hour || time_.Minute || time_.Second || time_.Millisecond) {
      out_ += ' ';
      Write(settings_.LongTimeFormat, nesting + 1);
    }
  }

  // d, dd, ddd, dddd, ddddd, dddddd; a longer run writes six and goes on.
  size_t WriteDay(size_t run, int nesting) {
    run = std::min<size_t>(run, 6);
    const int weekday = DayOfWeek(value_);
    switch (run) {
      case 1:
      case 2: WriteNumber(date_.Day, run); break;
      case 3: if (weekday) out_ += settings_.ShortDayNames[static_cast<size_t>(weekday - 1)]; break;
      case 4: if (weekday) out_ += settings_.LongDayNames[static_cast<size_t>(weekday - 1)]; break;
      case 5: Write(settings_.ShortDateFormat, nesting + 1); break;
      default: Write(settings_.LongDateFormat, nesting + 1); break;
    }
    return run;
  }

  void WriteMonth(size_t run) {
    if (run <= 2) {
      WriteNumber(date_.Month, run);
    } else if (date_.Month >= 1 && date_.Month <= 12) {
      const auto& names = run == 3 ? settings_.ShortMonthNames : settings_.LongMonthNames;
      out_ += names[static_cast<size_t>(date_.Month - 1)];
    }
  }

  // am/pm and a/p keep the letter case written in the picture; ampm writes the locale's texts.
  void WriteAmPm(std::string_view token) {
    const bool pm = time_.Hour >= 12;
    if (token.size() == 4) out_ += pm ? settings_.TimePMString : settings_.TimeAMString;
    else if (token.size() == 5) out_.append(token.substr(pm ? 3 : 0, 2));
    else out_ += token[pm ? 2 : 0];
  }

  double value_;
  const TFormatSettings& settings_;
  TDateParts date_;
  TTimeParts time_;
  std::string out_;
};

}  // namespace

std::string FormatDateTime(std::string_view picture, double dateTime, const TFormatSettings& settings) {
  TDateTimeWriter writer(dateTime, settings);
  writer.Write(picture.empty() ? std::string_view("c") : picture, 0);
  return writer.Text();
}

std::string DateToStr(double dateTime, const TFormatSettings& settings) {
  return FormatDateTime("ddddd", dateTime, settings);
}

std::string TimeToStr(double dateTime, const TFormatSettings& settings) {
  return FormatDateTime("tt", dateTime, settings);
}

std::string DateTimeToStr(double dateTime, const TFormatSettings& settings) {
  return FormatDateTime("c", dateTime, settings);
}
