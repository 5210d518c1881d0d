#include "platform/DateTime.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <ctime>

#include "platform/Convert.h"

namespace {

constexpr int64_t kMsPerDay = 86400000;
// Days from 1 January 1970 back to day 0, 30 December 1899.
constexpr int64_t kUnixEpochDay = 25569;

// Days since 1 January 1970 of a proleptic Gregorian date (the civil-from-days pair).
int64_t DaysFromCivil(int64_t y, int m, int d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

TDateParts CivilFromDays(int64_t z) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  TDateParts parts;
  parts.Day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  parts.Month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  parts.Year = static_cast<int>(yoe + era * 400 + (parts.Month <= 2));
  return parts;
}

// The first day's times lie below its serial number (the fraction counts backwards).
bool InCalendar(double dateTime) { return dateTime > kMinDateTime - 1 && dateTime < kMaxDateTime + 1e-8; }

TDateParts PartsOfDay(int64_t day) {
  if (day < static_cast<int64_t>(kMinDateTime) || day > static_cast<int64_t>(kMaxDateTime)) return {};
  return CivilFromDays(day - kUnixEpochDay);
}

TTimeParts PartsOfTime(int64_t ms) {
  TTimeParts t;
  t.Hour = static_cast<int>(ms / 3600000);
  t.Minute = static_cast<int>(ms / 60000 % 60);
  t.Second = static_cast<int>(ms / 1000 % 60);
  t.Millisecond = static_cast<int>(ms % 1000);
  return t;
}

}  // namespace

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && IsLeapYear(year) ? 29 : days[month - 1];
}

bool TryEncodeDate(int year, int month, int day, double& date) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month)) return false;
  date = static_cast<double>(DaysFromCivil(year, month, day) + kUnixEpochDay);
  return true;
}

double EncodeDate(int year, int month, int day) {
  double date = 0;
  if (!TryEncodeDate(year, month, day, date)) throw EConvertError("Invalid argument to date encode");
  return date;
}

bool TryEncodeTime(int hour, int minute, int second, int millisecond, double& time) {
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 || millisecond < 0 ||
      millisecond > 999)
    return false;
  time = (hour * 3600000.0 + minute * 60000.0 + second * 1000.0 + millisecond) / kMsPerDay;
  return true;
}

double EncodeTime(int hour, int minute, int second, int millisecond) {
  double time = 0;
  if (!TryEncodeTime(hour, minute, second, millisecond, time)) throw EConvertError("Invalid argument to time encode");
  return time;
}

void DecodeDateTime(double dateTime, TDateParts& date, TTimeParts& time) {
  date = {};
  time = {};
  if (!InCalendar(dateTime)) return;
  int64_t day = 0;
  int64_t ms = 0;
  if (dateTime >= 0) {
    const int64_t total = std::llround(dateTime * kMsPerDay);
    day = total / kMsPerDay;
    ms = total % kMsPerDay;
  } else {
    // Before day 0 the time of day is the fraction's magnitude: no carry across days.
    day = static_cast<int64_t>(std::trunc(dateTime));
    ms = std::min<int64_t>(std::llround(std::fabs(dateTime - std::trunc(dateTime)) * kMsPerDay), kMsPerDay - 1);
  }
  date = PartsOfDay(day);
  time = PartsOfTime(ms);
}

TDateParts DecodeDate(double dateTime) {
  TDateParts date;
  TTimeParts time;
  DecodeDateTime(dateTime, date, time);
  return date;
}

TTimeParts DecodeTime(double dateTime) {
  TDateParts date;
  TTimeParts time;
  DecodeDateTime(dateTime, date, time);
  return time;
}

int DayOfWeek(double dateTime) {
  if (!std::isfinite(dateTime)) return 0;
  const int64_t day = static_cast<int64_t>(std::trunc(std::fmod(dateTime, 7.0)));
  return static_cast<int>(((day % 7 + 7) % 7 + 6) % 7 + 1);
}

double Now() {
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  std::tm local{};
  localtime_r(&seconds, &local);
  const int ms = static_cast<int>(
      std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000);
  return EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday) +
         EncodeTime(local.tm_hour, local.tm_min, std::min(local.tm_sec, 59), ms);
}

double Date() { return std::trunc(Now()); }

double Time() {
  const double now = Now();
  return now - std::trunc(now);
}
