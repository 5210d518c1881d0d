// Attribute value escaping and the text of variant values.
#include <array>
#include <charconv>  // float text
#include <clocale>
#include <cmath>
#include <cstring>
#include <ctime>

#include "report/frxXML.h"

namespace {

// The bytes EscapeXMLText replaces, with their references.
constexpr std::array<const char*, 256> MakeEscapes() {
  std::array<const char*, 256> t{};
  t['\n'] = "&#10;";
  t['\r'] = "&#13;";
  t['"'] = "&#34;";
  t['&'] = "&#38;";
  t['<'] = "&#60;";
  t['>'] = "&#62;";
  return t;
}
constexpr std::array<const char*, 256> kEscapes = MakeEscapes();

bool HasAt(std::string_view s, size_t pos, std::string_view what) {
  return s.size() - pos >= what.size() && s.compare(pos, what.size(), what) == 0;
}

// The byte a decimal character reference stands for (its code modulo 256). Read by the
// system's integer conversion, except that its hexadecimal forms are no references.
char DecimalReference(std::string_view digits) {
  if (digits.find_first_of("$xX") != std::string_view::npos)
    throw TfrxXMLConvertError("'" + std::string(digits) + "' is not a valid integer value");
  try {
    return static_cast<char>(static_cast<unsigned>(StrToInt(digits)) & 0xFF);
  } catch (const EConvertError& e) {
    throw TfrxXMLConvertError(e.what());
  }
}

char LocaleDecimalSeparator() {
  const char* point = std::localeconv()->decimal_point;
  return point && *point ? *point : '.';
}

// The general float text: 15 significant digits, exponent form outside 1E-5 .. 1E15,
// as "1,5E20" / "1E-5" with the locale's decimal separator.
std::string FloatText(double value) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
  char buf[64];
  auto result = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 15);
  std::string text(buf, result.ptr);
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '.') {
      out += LocaleDecimalSeparator();
    } else if (c == 'e') {
      out += 'E';
      size_t j = i + 1;
      if (text[j] == '-') out += text[j++];
      else if (text[j] == '+') ++j;
      while (j + 1 < text.size() && text[j] == '0') ++j;
      out.append(text, j, std::string::npos);
      break;
    } else {
      out += c;
    }
  }
  return out;
}

// The locale's date text of a date value (days since 30 December 1899).
std::string DateText(double days) {
  if (!std::isfinite(days) || std::fabs(days) > 3.0e6) return FloatText(days);
  // Days since 1970-01-01, split into a civil date.
  int64_t z = static_cast<int64_t>(std::floor(days)) - 25569 + 719468;
  int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  int64_t doe = z - era * 146097;
  int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  int64_t mp = (5 * doy + 2) / 153;
  int64_t day = doy - (153 * mp + 2) / 5 + 1;
  int64_t month = mp < 10 ? mp + 3 : mp - 9;
  int64_t year = yoe + era * 400 + (month <= 2 ? 1 : 0);
  std::tm tm{};
  tm.tm_year = static_cast<int>(year - 1900);
  tm.tm_mon = static_cast<int>(month - 1);
  tm.tm_mday = static_cast<int>(day);
  char buf[64];
  size_t n = std::strftime(buf, sizeof buf, "%x", &tm);
  return std::string(buf, n);
}

}  // namespace

std::string EscapeXMLText(std::string_view s) {
  size_t first = 0;
  while (first < s.size() && !kEscapes[static_cast<unsigned char>(s[first])]) ++first;
  if (first == s.size()) return std::string(s);
  std::string out;
  out.reserve(s.size() + 16);
  out.append(s.data(), first);
  for (size_t i = first; i < s.size(); ++i) {
    const char* ref = kEscapes[static_cast<unsigned char>(s[i])];
    if (!ref) {
      out += s[i];
    } else if (s[i] == '&' && HasAt(s, i, "&quot;")) {
      out += "&#34;";  // an already escaped quote reads back as one quote
      i += 5;
    } else {
      out += ref;
    }
  }
  return out;
}

std::string UnescapeXMLText(std::string_view s) {
  const char* amp = static_cast<const char*>(std::memchr(s.data(), '&', s.size()));
  if (!amp) return std::string(s);
  std::string out;
  out.reserve(s.size());
  size_t i = 0;
  while (i < s.size()) {
    amp = static_cast<const char*>(std::memchr(s.data() + i, '&', s.size() - i));
    if (!amp) {
      out.append(s.data() + i, s.size() - i);
      break;
    }
    size_t at = static_cast<size_t>(amp - s.data());
    out.append(s.data() + i, at - i);
    i = at;
    if (s.size() - at > 3 && s[at + 1] == '#') {
      size_t semicolon = s.find(';', at + 2);
      if (semicolon != std::string_view::npos) {
        out += DecimalReference(s.substr(at + 2, semicolon - at - 2));
        i = semicolon + 1;
        continue;
      }
      // No ';' before the end of the value: the '&' is kept like any unknown sequence.
    } else if (HasAt(s, at + 1, "quot;")) {
      out += '"';
      i += 6;
      continue;
    } else if (HasAt(s, at + 1, "amp;")) {
      out += '&';
      i += 5;
      continue;
    } else if (HasAt(s, at + 1, "lt;")) {
      out += '<';
      i += 4;
      continue;
    } else if (HasAt(s, at + 1, "gt;")) {
      out += '>';
      i += 4;
      continue;
    }
    out += '&';
    ++i;
  }
  return out;
}

std::string VariantToXMLText(const Variant& v) {
  if (v.isArray()) return std::string();
  switch (v.kind()) {
    case VarKind::Smallint:
    case VarKind::Integer:
    case VarKind::Byte:
    case VarKind::ShortInt:
    case VarKind::Word:
    case VarKind::LongWord:
    case VarKind::Int64:
      return std::to_string(v.toInt64());
    case VarKind::Single:
    case VarKind::Double:
    case VarKind::Currency:
      return FloatText(v.toDouble());
    case VarKind::Date:
      return DateText(v.toDouble());
    case VarKind::String:
    case VarKind::OleStr:
      return EscapeXMLText(v.toString8());
    case VarKind::Boolean:
      return v.toBool() ? "1" : "0";
    default:
      return std::string();
  }
}
