#pragma once
// Decimal digits of a double and the number texts built from them, shared by
// FloatToStr, FormatFloat and Format.

#include <string>

#include "platform/FormatSettings.h"

namespace formatnumber {

// |value| = 0.d1 d2 d3 ... x 10^Exponent; Digits has no leading or trailing zeros and is
// empty for zero (Exponent 0 then).
struct TDecimalDigits {
  bool Negative = false;
  std::string Digits;
  int Exponent = 0;
  bool IsZero() const { return Digits.empty(); }
};

// The value's `significant` leading digits (1 to 18), rounded at the last one.
TDecimalDigits DecimalDigits(double value, int significant = 15);
// Rounds to `decimals` digits after the point, half away from zero.
void RoundToDecimals(TDecimalDigits& number, int decimals);

// The integral digits of a rounded number ("" for a number below 1) and exactly
// `decimals` fraction digits.
std::string IntegerDigits(const TDecimalDigits& number);
std::string FractionDigits(const TDecimalDigits& number, int decimals);

// Integral digits with the thousands separator between groups of three (none when the
// separator is 0).
std::string GroupThousands(const std::string& digits, char separator);

// "NAN", "INF", "-INF" for the values that have no digits, else empty.
std::string NonFiniteText(double value);

// Fixed text: sign, integral digits ("0" when none), decimals; thousands when asked.
std::string FixedText(double value, int decimals, const TFormatSettings& settings, bool thousands);
// Scientific text "d.ddd" + "E" + sign + exponent with `precision` significant digits
// and at least `exponentDigits` exponent digits; the sign always written.
std::string ScientificText(double value, int precision, int exponentDigits, const TFormatSettings& settings);
// General text: the shorter of fixed and scientific with `precision` significant digits,
// no trailing zeros; the exponent written with a minus only and as few digits as needed.
std::string GeneralText(double value, int precision, const TFormatSettings& settings);

}  // namespace formatnumber
