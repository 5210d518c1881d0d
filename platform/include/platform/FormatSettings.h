#pragma once
// The locale record that every number and date text of the system is written and read
// with: memo display formats, the scripts' conversion and formatting functions, and
// their parsers. All texts are 8-bit text in the system code page (Windows-1250).
//
// Two records exist: the fixed Polish record (what a Polish office machine is set to;
// tests use it so that results never depend on the machine) and the record of the
// process locale. The functions that take no record use CurrentFormatSettings(), which
// is the process locale's record until a program or a test replaces it.
//
// Thousands separator of the Polish record: the non-breaking space (0xA0 in
// Windows-1250), so that an amount such as "1 234,50" is never broken across two lines
// of a memo.

#include <array>
#include <string>

struct TFormatSettings {
  char DecimalSeparator = ',';
  char ThousandSeparator = '\xA0';
  char DateSeparator = '.';
  char TimeSeparator = ':';
  // Date and time pictures in the letters FormatDateTime reads ("dd.mm.yyyy", "hh:nn:ss").
  std::string ShortDateFormat;
  std::string LongDateFormat;
  std::string ShortTimeFormat;
  std::string LongTimeFormat;
  std::string TimeAMString;  // what the "ampm" token writes before noon
  std::string TimePMString;
  std::array<std::string, 12> ShortMonthNames;  // January first
  std::array<std::string, 12> LongMonthNames;
  std::array<std::string, 7> ShortDayNames;  // Sunday first
  std::array<std::string, 7> LongDayNames;
  // Money amounts (Format's "m"): the currency text, where it stands for positive
  // amounts (0 "$1", 1 "1$", 2 "$ 1", 3 "1 $") and for negative ones (the sixteen
  // arrangements 0 "($1)" to 15 "(1 $)"), and the decimals written by default.
  std::string CurrencyString;
  int CurrencyFormat = 3;
  int NegCurrFormat = 8;
  int CurrencyDecimals = 2;
};

// The fixed Polish record: "," decimal, non-breaking space thousands, "dd.mm.yyyy",
// "hh:nn:ss", Polish month and day names, "zł" after the amount.
const TFormatSettings& PolishFormatSettings();

// The record of the process locale (LANG / LC_* of the environment), read once. A
// process without a configured locale ("C", "POSIX") gets the Polish record: the system
// is a Polish program and must not print amounts with English conventions.
const TFormatSettings& SystemFormatSettings();

// The record of a named locale ("pl_PL.UTF-8", "C"); false when the system does not know
// that locale. Exposed so that the translation of the locale's data can be checked.
bool ReadLocaleFormatSettings(const char* localeName, TFormatSettings& settings);

// The record the system's formatting uses: SystemFormatSettings() unless replaced.
const TFormatSettings& CurrentFormatSettings();
void SetCurrentFormatSettings(const TFormatSettings& settings);

// Replaces the current record for the lifetime of the object (tests, a report that
// formats with a record of its own), restoring the previous one afterwards.
class TScopedFormatSettings {
 public:
  explicit TScopedFormatSettings(const TFormatSettings& settings);
  ~TScopedFormatSettings();
  TScopedFormatSettings(const TScopedFormatSettings&) = delete;
  TScopedFormatSettings& operator=(const TScopedFormatSettings&) = delete;

 private:
  TFormatSettings previous_;
};
