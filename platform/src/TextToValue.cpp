// Number, date and time texts read back with the locale record.
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <vector>

#include "platform/Convert.h"
#include "platform/DateTime.h"
#include "platform/Format.h"

namespace {

// The characters the system counts as blanks around a value.
bool IsBlank(char c) { return c == ' '; }

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Reads an unsigned decimal number of at most `maxDigits` digits at pos.
bool ReadNumber(std::string_view text, size_t& pos, int& value, int maxDigits = 4) {
  const size_t start = pos;
  value = 0;
  while (pos < text.size() && IsDigit(text[pos]) && static_cast<int>(pos - start) < maxDigits)
    value = value * 10 + (text[pos++] - '0');
  return pos > start && (pos >= text.size() || !IsDigit(text[pos]));
}

int CurrentYear() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return local.tm_year + 1900;
}

// The order of day, month and year in the short date picture: "dmy", "mdy" or "ymd".
std::string DateOrder(std::string_view picture) {
  std::string order;
  bool quoted = false;
  for (char c : picture) {
    if (c == '"' || c == '\'') quoted = !quoted;
    const char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (!quoted && (letter == 'd' || letter == 'm' || letter == 'y') && order.find(letter) == std::string::npos)
      order += letter;
  }
  return order.size() == 3 ? order : "dmy";
}

// Reads a date at pos; stops after it (the rest is the caller's).
bool ReadDate(std::string_view text, size_t& pos, double& value, const TFormatSettings& settings) {
  int numbers[3];
  int digits[3];
  int count = 0;
  while (count < 3) {
    const size_t start = pos;
    if (!ReadNumber(text, pos, numbers[count])) return false;
    digits[count] = static_cast<int>(pos - start);
    ++count;
    if (pos >= text.size() || text[pos] != settings.DateSeparator) break;
    ++pos;
  }
  if (count < 2) return false;
  const std::string order = DateOrder(settings.ShortDateFormat);
  int day = 0, month = 0, year = CurrentYear();
  bool twoDigitYear = false;
  // With two numbers the year is left out: day and month keep the picture's order.
  int index = 0;
  for (char part : order) {
    if (part == 'y' && count == 2) continue;
    if (index >= count) return false;
    if (part == 'd') day = numbers[index];
    else if (part == 'm') month = numbers[index];
    else {
      year = numbers[index];
      twoDigitYear = digits[index] <= 2;
    }
    ++index;
  }
  if (twoDigitYear) {
    const int current = CurrentYear();
    year += current - current % 100;
    if (year > current + 50) year -= 100;
    else if (year <= current - 50) year += 100;
  }
  return TryEncodeDate(year, month, day, value);
}

bool MatchesNoCase(std::string_view text, std::string_view word) {
  if (word.empty() || text.size() != word.size()) return false;
  for (size_t i = 0; i < word.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(text[i])) != std::tolower(static_cast<unsigned char>(word[i])))
      return false;
  return true;
}

// Reads a time from pos to the end of the text.
bool ReadTime(std::string_view text, size_t pos, double& value, const TFormatSettings& settings) {
  int parts[3] = {0, 0, 0};
  int count = 0;
  int millisecond = 0;
  while (count < 3) {
    if (!ReadNumber(text, pos, parts[count], 2)) return false;
    ++count;
    if (pos >= text.size() || text[pos] != settings.TimeSeparator) break;
    ++pos;
  }
  if (count < 2) return false;
  if (count == 3 && pos < text.size() && (text[pos] == '.' || text[pos] == settings.DecimalSeparator)) {
    ++pos;
    if (!ReadNumber(text, pos, millisecond, 3)) return false;
  }
  std::string_view rest = TrimBlanks(text.substr(pos));
  int hour = parts[0];
  if (!rest.empty()) {
    const bool am = MatchesNoCase(rest, settings.TimeAMString) || MatchesNoCase(rest, "AM");
    const bool pm = MatchesNoCase(rest, settings.TimePMString) || MatchesNoCase(rest, "PM");
    if ((!am && !pm) || hour < 1 || hour > 12) return false;
    hour = hour % 12 + (pm ? 12 : 0);
  }
  return TryEncodeTime(hour, parts[1], parts[2], millisecond, value);
}

[[noreturn]] void Fail(std::string_view text, const char* what) {
  throw EConvertError("'" + std::string(text) + "' " + what);
}

}  // namespace

bool TryStrToFloat(std::string_view text, double& value, const TFormatSettings& settings) {
  const std::string_view trimmed = TrimBlanks(text);
  // Rewritten in the C form strtod reads whatever the process locale: "." as separator.
  std::string plain;
  size_t i = 0;
  auto take = [&](auto predicate) {
    const size_t start = i;
    while (i < trimmed.size() && predicate(trimmed[i])) plain += trimmed[i++];
    return i - start;
  };
  if (i < trimmed.size() && (trimmed[i] == '+' || trimmed[i] == '-')) plain += trimmed[i++];
  size_t digits = take(IsDigit);
  if (i < trimmed.size() && trimmed[i] == settings.DecimalSeparator) {
    plain += '.';
    ++i;
    digits += take(IsDigit);
  }
  if (digits == 0) return false;
  if (i < trimmed.size() && (trimmed[i] == 'e' || trimmed[i] == 'E')) {
    plain += trimmed[i++];
    if (i < trimmed.size() && (trimmed[i] == '+' || trimmed[i] == '-')) plain += trimmed[i++];
    if (take(IsDigit) == 0) return false;
  }
  if (i != trimmed.size()) return false;
  errno = 0;
  char* end = nullptr;
  const double parsed = std::strtod(plain.c_str(), &end);
  if (errno == ERANGE && std::isinf(parsed)) return false;
  value = parsed;
  return true;
}

double StrToFloat(std::string_view text, const TFormatSettings& settings) {
  double value = 0;
  if (!TryStrToFloat(text, value, settings)) Fail(text, "is not a valid floating point value");
  return value;
}

bool TryStrToDate(std::string_view text, double& value, const TFormatSettings& settings) {
  const std::string_view trimmed = TrimBlanks(text);
  size_t pos = 0;
  return ReadDate(trimmed, pos, value, settings) && pos == trimmed.size();
}

bool TryStrToTime(std::string_view text, double& value, const TFormatSettings& settings) {
  return ReadTime(TrimBlanks(text), 0, value, settings);
}

bool TryStrToDateTime(std::string_view text, double& value, const TFormatSettings& settings) {
  const std::string_view trimmed = TrimBlanks(text);
  size_t pos = 0;
  double date = 0;
  if (!ReadDate(trimmed, pos, date, settings)) return false;
  if (pos == trimmed.size()) {
    value = date;
    return true;
  }
  if (!IsBlank(trimmed[pos])) return false;
  double time = 0;
  if (!ReadTime(TrimBlanks(trimmed.substr(pos)), 0, time, settings)) return false;
  value = date < 0 ? date - time : date + time;
  return true;
}

double StrToDate(std::string_view text, const TFormatSettings& settings) {
  double value = 0;
  if (!TryStrToDate(text, value, settings)) Fail(text, "is not a valid date");
  return value;
}

double StrToTime(std::string_view text, const TFormatSettings& settings) {
  double value = 0;
  if (!TryStrToTime(text, value, settings)) Fail(text, "is not a valid time");
  return value;
}

double StrToDateTime(std::string_view text, const TFormatSettings& settings) {
  double value = 0;
  if (!TryStrToDateTime(text, value, settings)) Fail(text, "is not a valid date and time");
  return value;
}
