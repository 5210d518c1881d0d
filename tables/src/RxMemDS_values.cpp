#include "RxMemDS_values.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "platform/Convert.h"

namespace rxmemds {
namespace {

std::string FloatText(double value) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.15g", value);
  return buffer;
}

// Proleptic Gregorian date of a day count from 1 January 1970.
void CivilFromDays(int64_t days, int64_t& year, unsigned& month, unsigned& day) {
  days += 719468;
  const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const unsigned dayOfEra = static_cast<unsigned>(days - era * 146097);
  const unsigned yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const unsigned shifted = (5 * dayOfYear + 2) / 153;
  day = dayOfYear - (153 * shifted + 2) / 5 + 1;
  month = shifted < 10 ? shifted + 3 : shifted - 9;
  year = static_cast<int64_t>(yearOfEra) + era * 400 + (month <= 2 ? 1 : 0);
}

// Date and time as "yyyy-mm-dd hh:nn:ss". The whole part counts days from 30 December
// 1899; the fraction, taken without its sign, is the time of day.
std::string DateTimeText(double value, TFieldType type) {
  if (!std::isfinite(value) || std::fabs(value) > 1e8) return FloatText(value);
  const double whole = std::trunc(value);
  int64_t millis = std::llround(std::fabs(value - whole) * 86400000.0);
  if (millis >= 86400000) millis = 86399999;
  char date[32] = "";
  char time[16] = "";
  int64_t year = 0;
  unsigned month = 0;
  unsigned day = 0;
  CivilFromDays(static_cast<int64_t>(whole) - 25569, year, month, day);
  std::snprintf(date, sizeof date, "%04lld-%02u-%02u", static_cast<long long>(year), month, day);
  const int64_t seconds = millis / 1000;
  std::snprintf(time, sizeof time, "%02d:%02d:%02d", static_cast<int>(seconds / 3600),
                static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60));
  if (type == TFieldType::ftDate) return date;
  if (type == TFieldType::ftTime) return time;
  if (millis == 0) return date;
  return std::string(date) + " " + time;
}

std::string AnyToText(const Variant& value) {
  if (value.isText()) return value.toString8();
  if (value.kind() == VarKind::Boolean) return value.toBool() ? "True" : "False";
  if (value.isOrdinal()) return std::to_string(value.toInt64());
  if (value.kind() == VarKind::Date) return DateTimeText(value.toDouble(), TFieldType::ftDateTime);
  if (value.isFloat()) return FloatText(value.toDouble());
  return value.str();  // raises the conversion error naming the kind
}

double TextToFloat(const std::string& text) {
  double result = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, result);
  if (error != std::errc() || stop != end) {
    throw EConvertError("'" + text + "' is not a valid floating point value");
  }
  return result;
}

bool SameTextAscii(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

bool TextToBool(const std::string& text) {
  if (SameTextAscii(text, "True")) return true;
  if (SameTextAscii(text, "False")) return false;
  if (auto number = TryStrToInt(text)) return *number != 0;
  throw EConvertError("'" + text + "' is not a valid boolean value");
}

int32_t FloatToInt32(const Variant& value) {
  const double rounded = std::nearbyint(value.toDouble());  // to nearest, halves to even
  if (!(rounded >= INT32_MIN && rounded <= INT32_MAX)) {
    throw EVariantError(std::string("Could not convert variant of type (") + VarKindName(value.kind()) +
                        ") into type (Integer)");
  }
  return static_cast<int32_t>(rounded);
}

}  // namespace

Variant ToFieldValue(TFieldType type, const Variant& value) {
  if (value.isNull() || value.isEmpty()) return Variant::Null();
  std::string text;
  if (value.isText()) {
    text = value.toString8();
    if (text.empty()) return Variant::Null();
  }
  switch (type) {
    case TFieldType::ftString:
    case TFieldType::ftBlob:
      return Variant(value.isText() ? std::move(text) : AnyToText(value));
    case TFieldType::ftInteger:
    case TFieldType::ftAutoInc:
      if (value.isText()) return Variant(StrToInt(text));
      if (value.isFloat()) return Variant(FloatToInt32(value));
      return Variant(value.toInt32());
    case TFieldType::ftBoolean:
      return Variant(value.isText() ? TextToBool(text) : value.toBool());
    case TFieldType::ftFloat:
      return Variant(value.isText() ? TextToFloat(text) : value.toDouble());
    case TFieldType::ftDate:
    case TFieldType::ftTime:
    case TFieldType::ftDateTime:
      if (value.isText()) throw EConvertError("'" + text + "' is not a valid date and time");
      return Variant::Date(value.toDouble());
    case TFieldType::ftUnknown:
      break;
  }
  throw EDatabaseError("Field type cannot hold a value");
}

std::string FieldText(TFieldType type, const Variant& stored) {
  if (stored.isNull()) return {};
  switch (stored.kind()) {
    case VarKind::String: return stored.str();
    case VarKind::Date: return DateTimeText(stored.toDouble(), type);
    default: return AnyToText(stored);
  }
}

}  // namespace rxmemds
