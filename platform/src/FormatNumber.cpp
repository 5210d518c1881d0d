#include "FormatNumber.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace formatnumber {

namespace {

void StripTrailingZeros(TDecimalDigits& number) {
  while (!number.Digits.empty() && number.Digits.back() == '0') number.Digits.pop_back();
  if (number.Digits.empty()) number.Exponent = 0;
}

std::string ExponentText(int exponent, int minDigits, bool alwaysSign) {
  std::string digits = std::to_string(std::abs(exponent));
  if (static_cast<int>(digits.size()) < minDigits) digits.insert(0, static_cast<size_t>(minDigits) - digits.size(), '0');
  if (exponent < 0) return "-" + digits;
  return alwaysSign ? "+" + digits : digits;
}

}  // namespace

TDecimalDigits DecimalDigits(double value, int significant) {
  TDecimalDigits number;
  number.Negative = std::signbit(value) && value != 0;
  if (!std::isfinite(value) || value == 0) return number;
  significant = std::clamp(significant, 1, 18);
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*e", significant - 1, std::fabs(value));
  // buffer: d[.ddd]e±XX
  for (const char* p = buffer; *p && *p != 'e'; ++p)
    if (*p >= '0' && *p <= '9') number.Digits += *p;
  const char* e = std::strchr(buffer, 'e');
  number.Exponent = (e ? std::atoi(e + 1) : 0) + 1;
  StripTrailingZeros(number);
  return number;
}

void RoundToDecimals(TDecimalDigits& number, int decimals) {
  const int keep = number.Exponent + decimals;
  if (keep >= static_cast<int>(number.Digits.size())) return;
  if (keep < 0) {
    number.Digits.clear();
    number.Exponent = 0;
    return;
  }
  const bool up = number.Digits[static_cast<size_t>(keep)] >= '5';
  number.Digits.resize(static_cast<size_t>(keep));
  if (up) {
    int i = keep - 1;
    for (; i >= 0; --i) {
      if (number.Digits[static_cast<size_t>(i)] == '9') {
        number.Digits[static_cast<size_t>(i)] = '0';
      } else {
        ++number.Digits[static_cast<size_t>(i)];
        break;
      }
    }
    if (i < 0) {
      number.Digits.insert(number.Digits.begin(), '1');
      ++number.Exponent;
    }
  }
  StripTrailingZeros(number);
}

std::string IntegerDigits(const TDecimalDigits& number) {
  if (number.IsZero() || number.Exponent <= 0) return {};
  const size_t count = static_cast<size_t>(number.Exponent);
  std::string digits = number.Digits.substr(0, count);
  digits.resize(count, '0');
  return digits;
}

std::string FractionDigits(const TDecimalDigits& number, int decimals) {
  std::string digits;
  for (int i = 0; i < decimals; ++i) {
    const int index = number.Exponent + i;  // position in Digits of the i-th decimal
    digits += index >= 0 && index < static_cast<int>(number.Digits.size()) ? number.Digits[static_cast<size_t>(index)]
                                                                            : '0';
  }
  return digits;
}

std::string GroupThousands(const std::string& digits, char separator) {
  if (!separator || digits.size() <= 3) return digits;
  std::string out;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += separator;
    out += digits[i];
  }
  return out;
}

std::string NonFiniteText(double value) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  return {};
}

std::string FixedText(double value, int decimals, const TFormatSettings& settings, bool thousands) {
  if (std::string special = NonFiniteText(value); !special.empty()) return special;
  TDecimalDigits number = DecimalDigits(value);
  RoundToDecimals(number, decimals);
  std::string integral = IntegerDigits(number);
  if (integral.empty()) integral = "0";
  std::string text = number.Negative && !number.IsZero() ? "-" : "";
  text += thousands ? GroupThousands(integral, settings.ThousandSeparator) : integral;
  if (decimals > 0) text += settings.DecimalSeparator + FractionDigits(number, decimals);
  return text;
}

std::string ScientificText(double value, int precision, int exponentDigits, const TFormatSettings& settings) {
  if (std::string special = NonFiniteText(value); !special.empty()) return special;
  precision = std::clamp(precision, 1, 18);
  TDecimalDigits number = DecimalDigits(value, precision);
  std::string digits = number.Digits;
  digits.resize(static_cast<size_t>(precision), '0');
  std::string text = number.Negative ? "-" : "";
  text += digits[0];
  if (precision > 1) text += settings.DecimalSeparator + digits.substr(1);
  text += 'E';
  text += ExponentText(number.IsZero() ? 0 : number.Exponent - 1, exponentDigits, true);
  return text;
}

std::string GeneralText(double value, int precision, const TFormatSettings& settings) {
  if (std::string special = NonFiniteText(value); !special.empty()) return special;
  precision = std::clamp(precision, 1, 18);
  TDecimalDigits number = DecimalDigits(value, precision);
  if (number.IsZero()) return "0";
  std::string text = number.Negative ? "-" : "";
  const int length = static_cast<int>(number.Digits.size());
  if (number.Exponent <= precision && number.Exponent > -5) {
    std::string integral = IntegerDigits(number);
    text += integral.empty() ? "0" : integral;
    const int decimals = length - number.Exponent;
    if (decimals > 0) text += settings.DecimalSeparator + FractionDigits(number, decimals);
    return text;
  }
  text += number.Digits[0];
  if (length > 1) text += settings.DecimalSeparator + number.Digits.substr(1);
  text += 'E';
  text += ExponentText(number.Exponent - 1, 0, false);
  return text;
}

}  // namespace formatnumber
