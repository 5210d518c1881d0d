#pragma once
// Dates and times as the system counts them: a double whose integral part is the number
// of days since 30 December 1899 (day 0) and whose fraction is the time of day (0.5 is
// noon). Days before that date are negative; their time of day is the fraction's
// magnitude (-1.25 is 29 December 1899, 06:00).
//
// The valid calendar is the proleptic Gregorian one from 1 January 0001 to 31 December
// 9999. Encoding a day or time that does not exist raises EConvertError with the
// system's message; decoding a value outside that range yields zeros instead of a date.

#include <cstdint>

struct TDateParts {
  int Year = 0;
  int Month = 0;  // 1-12
  int Day = 0;    // 1-31
};

struct TTimeParts {
  int Hour = 0;
  int Minute = 0;
  int Second = 0;
  int Millisecond = 0;
};

// Days since 30 December 1899 of the first and the last day of the calendar.
constexpr double kMinDateTime = -693593.0;        // 1 January 0001
constexpr double kMaxDateTime = 2958465.99999999; // 31 December 9999, just before midnight

bool IsLeapYear(int year);
// 31, 28 or 29, ... for months 1 to 12; 0 for a month outside 1 to 12.
int DaysInMonth(int year, int month);

// "Invalid argument to date encode" for a day that does not exist.
double EncodeDate(int year, int month, int day);
bool TryEncodeDate(int year, int month, int day, double& date);
// "Invalid argument to time encode" for hour > 23, minute or second > 59, ms > 999.
double EncodeTime(int hour, int minute, int second, int millisecond);
bool TryEncodeTime(int hour, int minute, int second, int millisecond, double& time);

TDateParts DecodeDate(double dateTime);
TTimeParts DecodeTime(double dateTime);
// Date and time of one value, the time rounded to the millisecond with a carry into the
// next day (23:59:59.9999 is midnight of the next day, never "24:00").
void DecodeDateTime(double dateTime, TDateParts& date, TTimeParts& time);

// 1 for Sunday up to 7 for Saturday (day 0 was a Saturday).
int DayOfWeek(double dateTime);

// The current local date and time; Date() is integral, Time() the fraction only.
double Now();
double Date();
double Time();
