#pragma once
// The variant arithmetic of scripts and expressions: how two values of any kinds are
// added, compared, negated, and how a value reads as the Integer, Extended, Boolean or
// String a script variable holds. Every operator of every script language ends here,
// so the rules live in one place.
//
// Kinds meet by class: empty, null, integer (8, 16, 32-bit signed, byte), real (single,
// double), currency, string (both text kinds), boolean, date and int64 (64-bit, word,
// 32-bit unsigned). The pair of classes picks the arithmetic:
// - integer: 32-bit, and +, -, * go to double when the result does not fit; "/" is
//   real; div truncates toward zero; mod has the sign of the dividend.
// - real, currency (fixed point, four decimals), int64, date: in their own type; a
//   date minus a date is a plain number of days.
// - string: "+" joins; the other operators read the text as a number.
// - boolean: and, or, xor are logical; arithmetic reads True as -1.
// - empty: the result is Unassigned. null: "Invalid variant operation".
// Failures raise EVariantError ("Invalid variant operation", "Could not convert
// variant of type (X) into type (Y)", "Division by zero").

#include <cstdint>
#include <string>

#include "platform/Variant.h"

// ORDER: follows the operator codes of expression nodes (+ .. shr).
enum class TfsOperator { Add, Subtract, Multiply, Divide, IntDivide, Modulo, ShiftLeft, ShiftRight, And, Or, Xor };
enum class TfsComparison { Greater, Less, LessEqual, GreaterEqual, NotEqual, Equal };

namespace fs_variant_messages {
constexpr const char* InvalidOperation = "Invalid variant operation";
constexpr const char* DivisionByZero = "Division by zero";
constexpr const char* FloatDivisionByZero = "Floating point division by zero";
}  // namespace fs_variant_messages

Variant fsVarOperate(TfsOperator op, const Variant& left, const Variant& right);
// The common case of loops done in place: left := left op right for two 32-bit integers
// and +, - or * whose result fits. False (nothing changed) in every other case, where
// fsVarOperate's rules apply.
bool fsVarOperateIntegersInPlace(TfsOperator op, Variant& left, const Variant& right);
bool fsVarCompare(TfsComparison comparison, const Variant& left, const Variant& right);
// Equality as "=" sees it, never raising: used by sets, "in" and case selectors.
bool fsVarEquals(const Variant& left, const Variant& right);
Variant fsVarNegate(const Variant& value);
Variant fsVarNot(const Variant& value);

// A value as script variables of each type hold it (Empty reads as 0, False, "").
int32_t fsVarToInteger(const Variant& value);  // floats round half to even
double fsVarToFloat(const Variant& value);
bool fsVarToBoolean(const Variant& value);     // conditions: "True"/"False" or a number
// Numbers and dates as VarToStr writes them, with the current locale record
// (TryVarToStr, platform/Format.h): "1,5" and "01.01.2025" on a Polish machine. Texts
// read as numbers accept that form back as well as the source form ("1.5").
std::string fsVarToText(const Variant& value);
// The value of a number text ("$" hexadecimal, "." decimal separator): Integer when
// it fits 32 bits, Int64 when it fits 64, else Double. False when it is no number.
bool fsTextToNumber(const std::string& text, Variant& number);
