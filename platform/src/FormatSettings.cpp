#include "platform/FormatSettings.h"

#include <langinfo.h>
#include <locale.h>

#include <cstring>
#include <string_view>

#include "platform/CodePage.h"

namespace {

TFormatSettings MakePolish() {
  TFormatSettings s;
  s.DecimalSeparator = ',';
  s.ThousandSeparator = '\xA0';
  s.DateSeparator = '.';
  s.TimeSeparator = ':';
  s.ShortDateFormat = "dd.mm.yyyy";
  s.LongDateFormat = "d mmmm yyyy";
  s.ShortTimeFormat = "hh:nn";
  s.LongTimeFormat = "hh:nn:ss";
  s.TimeAMString = "AM";
  s.TimePMString = "PM";
  const char* longMonths[12] = {"styczeń", "luty",     "marzec",   "kwiecień",    "maj",      "czerwiec",
                                "lipiec",  "sierpień", "wrzesień", "październik", "listopad", "grudzień"};
  const char* shortMonths[12] = {"sty", "lut", "mar", "kwi", "maj", "cze", "lip", "sie", "wrz", "paź", "lis", "gru"};
  const char* longDays[7] = {"niedziela", "poniedziałek", "wtorek", "środa", "czwartek", "piątek", "sobota"};
  const char* shortDays[7] = {"niedz.", "pon.", "wt.", "śr.", "czw.", "pt.", "sob."};
  for (int i = 0; i < 12; ++i) {
    s.LongMonthNames[i] = codepage::Utf8ToAnsi(longMonths[i]);
    s.ShortMonthNames[i] = codepage::Utf8ToAnsi(shortMonths[i]);
  }
  for (int i = 0; i < 7; ++i) {
    s.LongDayNames[i] = codepage::Utf8ToAnsi(longDays[i]);
    s.ShortDayNames[i] = codepage::Utf8ToAnsi(shortDays[i]);
  }
  s.CurrencyString = codepage::Utf8ToAnsi("zł");
  s.CurrencyFormat = 3;
  s.NegCurrFormat = 8;
  s.CurrencyDecimals = 2;
  return s;
}

// A locale text (in the locale's own character set) as system 8-bit text.
std::string LocaleText(const char* text, bool utf8) {
  if (!text) return {};
  return utf8 ? codepage::Utf8ToAnsi(text) : std::string(text);
}

// One separator character. A locale separator that is a no-break or narrow no-break
// space becomes the no-break space the system code page has; one that has no 8-bit form
// is dropped (0: no separator).
char SeparatorChar(const char* text, bool utf8) {
  if (!text || !*text) return '\0';
  std::string_view raw(text);
  if (raw == "\xE2\x80\xAF" || raw == "\xC2\xA0") return '\xA0';
  std::string converted = LocaleText(text, utf8);
  return converted.size() == 1 && converted[0] != '?' ? converted[0] : '\0';
}

// A strftime picture ("%d.%m.%Y") in the letters FormatDateTime reads ("dd.mm.yyyy").
// Literal letters are quoted so that they are not read as picture letters.
std::string PictureFromStrftime(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c != '%') {
      bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
      if (letter) out += '"';
      out += c;
      if (letter) out += '"';
      continue;
    }
    if (++i >= text.size()) break;
    char f = text[i];
    bool unpadded = false;
    if ((f == '-' || f == '_' || f == '0' || f == 'E' || f == 'O') && i + 1 < text.size()) {
      unpadded = f == '-';
      f = text[++i];
    }
    switch (f) {
      case 'd': out += unpadded ? "d" : "dd"; break;
      case 'e': out += "d"; break;
      case 'm': out += unpadded ? "m" : "mm"; break;
      case 'y': out += "yy"; break;
      case 'Y': out += "yyyy"; break;
      case 'H': case 'I': out += unpadded ? "h" : "hh"; break;
      case 'k': case 'l': out += "h"; break;
      case 'M': out += "nn"; break;
      case 'S': out += "ss"; break;
      case 'p': case 'P': out += "ampm"; break;
      case 'b': case 'h': out += "mmm"; break;
      case 'B': out += "mmmm"; break;
      case 'a': out += "ddd"; break;
      case 'A': out += "dddd"; break;
      case 'T': out += "hh:nn:ss"; break;
      case 'R': out += "hh:nn"; break;
      case 'D': out += "mm/dd/yy"; break;
      case 'F': out += "yyyy-mm-dd"; break;
      case '%': out += '%'; break;
      default: break;  // zones, week numbers and the like have no picture letter
    }
  }
  return out;
}

// The first character of a picture that is neither a letter nor quoted: the separator.
char FirstSeparator(std::string_view picture, char fallback) {
  bool quoted = false;
  for (char c : picture) {
    if (c == '"') quoted = !quoted;
    else if (!quoted && !((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) && c != ' ') return c;
  }
  return fallback;
}

// The long time picture without its seconds ("hh:nn:ss" -> "hh:nn").
std::string WithoutSeconds(const std::string& picture) {
  size_t s = picture.find("ss");
  if (s == std::string::npos) return picture;
  size_t start = s;
  while (start > 0 && picture[start - 1] != 'n' && picture[start - 1] != 'h') --start;
  return picture.substr(0, start) + picture.substr(s + 2);
}

void ReadCurrency(locale_t locale, bool utf8, TFormatSettings& s) {
  const char* currency = nl_langinfo_l(CRNCYSTR, locale);
  if (currency && *currency) {
    // "-zł": before the amount, "+zł": after it, ".": in place of the decimal separator.
    bool before = currency[0] == '-';
    s.CurrencyString = LocaleText(currency + 1, utf8);
    const char* spaced = nl_langinfo_l(__P_SEP_BY_SPACE, locale);
    bool space = spaced && spaced[0] == 1;
    s.CurrencyFormat = before ? (space ? 2 : 0) : (space ? 3 : 1);
    s.NegCurrFormat = before ? (space ? 9 : 1) : (space ? 8 : 5);
  }
  const char* digits = nl_langinfo_l(__FRAC_DIGITS, locale);
  if (digits && digits[0] >= 0 && digits[0] <= 10) s.CurrencyDecimals = digits[0];
}

const TFormatSettings*& CurrentPointer() {
  static const TFormatSettings* current = nullptr;
  return current;
}

TFormatSettings& CurrentStorage() {
  static TFormatSettings storage;
  return storage;
}

}  // namespace

const TFormatSettings& PolishFormatSettings() {
  static const TFormatSettings polish = MakePolish();
  return polish;
}

bool ReadLocaleFormatSettings(const char* localeName, TFormatSettings& s) {
  locale_t locale = newlocale(LC_ALL_MASK, localeName, static_cast<locale_t>(nullptr));
  if (!locale) return false;
  const char* codeset = nl_langinfo_l(CODESET, locale);
  bool utf8 = codeset && (std::strcmp(codeset, "UTF-8") == 0 || std::strcmp(codeset, "utf8") == 0);
  s = TFormatSettings{};
  s.DecimalSeparator = SeparatorChar(nl_langinfo_l(RADIXCHAR, locale), utf8);
  if (!s.DecimalSeparator) s.DecimalSeparator = '.';
  s.ThousandSeparator = SeparatorChar(nl_langinfo_l(THOUSEP, locale), utf8);
  s.ShortDateFormat = PictureFromStrftime(LocaleText(nl_langinfo_l(D_FMT, locale), utf8));
  s.LongTimeFormat = PictureFromStrftime(LocaleText(nl_langinfo_l(T_FMT, locale), utf8));
  s.ShortTimeFormat = WithoutSeconds(s.LongTimeFormat);
  s.LongDateFormat = "d mmmm yyyy";
  s.DateSeparator = FirstSeparator(s.ShortDateFormat, '/');
  s.TimeSeparator = FirstSeparator(s.LongTimeFormat, ':');
  s.TimeAMString = LocaleText(nl_langinfo_l(AM_STR, locale), utf8);
  s.TimePMString = LocaleText(nl_langinfo_l(PM_STR, locale), utf8);
  for (int i = 0; i < 12; ++i) {
    s.LongMonthNames[i] = LocaleText(nl_langinfo_l(static_cast<nl_item>(MON_1 + i), locale), utf8);
    s.ShortMonthNames[i] = LocaleText(nl_langinfo_l(static_cast<nl_item>(ABMON_1 + i), locale), utf8);
  }
  for (int i = 0; i < 7; ++i) {
    s.LongDayNames[i] = LocaleText(nl_langinfo_l(static_cast<nl_item>(DAY_1 + i), locale), utf8);
    s.ShortDayNames[i] = LocaleText(nl_langinfo_l(static_cast<nl_item>(ABDAY_1 + i), locale), utf8);
  }
  ReadCurrency(locale, utf8, s);
  freelocale(locale);
  return true;
}

const TFormatSettings& SystemFormatSettings() {
  static const TFormatSettings system = [] {
    locale_t probe = newlocale(LC_ALL_MASK, "", static_cast<locale_t>(nullptr));
    std::string name;
    if (probe) {
      const char* n = nl_langinfo_l(_NL_LOCALE_NAME(LC_TIME), probe);
      name = n ? n : "";
      freelocale(probe);
    }
    TFormatSettings s;
    bool unconfigured = name.empty() || name == "C" || name == "POSIX" || name.rfind("C.", 0) == 0;
    if (unconfigured || !ReadLocaleFormatSettings("", s)) return PolishFormatSettings();
    return s;
  }();
  return system;
}

const TFormatSettings& CurrentFormatSettings() {
  const TFormatSettings* current = CurrentPointer();
  return current ? *current : SystemFormatSettings();
}

void SetCurrentFormatSettings(const TFormatSettings& settings) {
  CurrentStorage() = settings;
  CurrentPointer() = &CurrentStorage();
}

TScopedFormatSettings::TScopedFormatSettings(const TFormatSettings& settings) : previous_(CurrentFormatSettings()) {
  SetCurrentFormatSettings(settings);
}

TScopedFormatSettings::~TScopedFormatSettings() { SetCurrentFormatSettings(previous_); }
