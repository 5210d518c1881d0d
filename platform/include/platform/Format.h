#pragma once
// The system's number and date texts, written and read with a locale record
// (FormatSettings.h). One implementation serves the scripts' conversion and formatting
// functions and the report's memo display formats, so a value prints the same
// wherever it appears.
//
//   FloatToStr     general text: up to 15 significant digits, no trailing zeros,
//                  exponent form below 0.00001 and from 1E15 on ("1,5", "1E20", "NAN")
//   FormatFloat    number pictures: "#,##0.00", "0.00;(0.00);zero", "0.00E+00", quoted
//                  text, other characters copied; an empty picture gives FloatToStr
//   FormatDateTime date pictures: d dd ddd dddd ddddd dddddd, m mm mmm mmmm (minutes
//                  after an hour), yy yyyy, h hh, n nn, s ss, z zzz, t tt, c, am/pm,
//                  a/p, ampm, "/" and ":" as the locale's separators, quoted text
//   Format         printf-style: "%" [index ":"] ["-"] [width] ["." precision] letter
//                  with d u x e f g n m p s, "*" taking a number from the arguments
//
// Decimal digits are taken from the value's 15 significant digits and rounded half away
// from zero, as people round amounts: 1.005 with two decimals is "1.01", 0.125 is "0.13".
//
// Errors (EConvertError, Convert.h) carry the system's message texts; nothing here
// reads past its input or builds a text of unbounded size: widths, precisions and
// digit counts above kMaxFormatWidth are refused as invalid pictures.

#include <span>
#include <string>
#include <string_view>

#include "platform/FormatSettings.h"
#include "platform/Variant.h"

constexpr int kMaxFormatWidth = 4096;

std::string FloatToStr(double value, const TFormatSettings& settings = CurrentFormatSettings());
std::string FormatFloat(std::string_view picture, double value,
                        const TFormatSettings& settings = CurrentFormatSettings());
std::string FormatDateTime(std::string_view picture, double dateTime,
                           const TFormatSettings& settings = CurrentFormatSettings());

// Each specifier of `format` takes the next argument. Arguments by variant kind: the
// integer kinds up to 32 bits become integers (a 32-bit unsigned value keeps its bit
// pattern), 64-bit integers stay 64-bit, Single, Double, Currency and Date become
// floats, either text kind becomes text of at most 255 characters, a Boolean stays a
// Boolean (which no letter accepts), Empty and Null become the integer 0.
// Errors: "Format '%s' invalid or incompatible with argument" and
// "No argument for format '%s'", the whole format text in place of %s.
std::string Format(std::string_view format, std::span<const Variant> args,
                   const TFormatSettings& settings = CurrentFormatSettings());

// The locale's short date; a blank and the long time follow when the time is not 0.
std::string DateToStr(double dateTime, const TFormatSettings& settings = CurrentFormatSettings());
std::string TimeToStr(double dateTime, const TFormatSettings& settings = CurrentFormatSettings());
std::string DateTimeToStr(double dateTime, const TFormatSettings& settings = CurrentFormatSettings());

// The text of a value wherever a value becomes text (the scripts' VarToStr and string
// conversions, memo texts): Empty and Null give the empty text, text stays as it is
// (wide text converted to the system code page), Booleans give "True" / "False",
// integers their decimal digits, Single, Double and Currency FloatToStr, dates
// DateTimeToStr. False for values that have no text (arrays, objects, error codes).
bool TryVarToStr(const Variant& value, std::string& text, const TFormatSettings& settings = CurrentFormatSettings());

// Text to number: blanks around the number, a sign, digits with at most one locale
// decimal separator, an optional exponent ("1,5E3"). No thousands separators.
// "'%s' is not a valid floating point value".
bool TryStrToFloat(std::string_view text, double& value, const TFormatSettings& settings = CurrentFormatSettings());
double StrToFloat(std::string_view text, const TFormatSettings& settings = CurrentFormatSettings());

// Text to date: one to three numbers separated by the locale's date separator, in the
// order of its short date format (day, month, year for "dd.mm.yyyy"); a missing year is
// the current one; a two-digit year is the one nearest to the current year within fifty
// years. Text to time: hour and minute, optionally seconds and ".milliseconds", separated
// by the time separator, optionally followed by the locale's AM/PM text (or "AM"/"PM").
// Text to date and time: a date, then optionally blanks and a time.
// "'%s' is not a valid date", "'%s' is not a valid time", "'%s' is not a valid date and time".
bool TryStrToDate(std::string_view text, double& value, const TFormatSettings& settings = CurrentFormatSettings());
bool TryStrToTime(std::string_view text, double& value, const TFormatSettings& settings = CurrentFormatSettings());
bool TryStrToDateTime(std::string_view text, double& value,
                      const TFormatSettings& settings = CurrentFormatSettings());
double StrToDate(std::string_view text, const TFormatSettings& settings = CurrentFormatSettings());
double StrToTime(std::string_view text, const TFormatSettings& settings = CurrentFormatSettings());
double StrToDateTime(std::string_view text, const TFormatSettings& settings = CurrentFormatSettings());
