// The variant arithmetic: classes of kinds, the operation table and the conversions.
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "fs_limits.h"
#include "platform/Format.h"
#include "script/fs_iexpression.h"

namespace {

// ORDER: rows and columns of kOperationClass.
enum Class { cEmpty, cNull, cInteger, cReal, cCurrency, cString, cBoolean, cDate, cInt64, cOther };

Class ClassOf(const Variant& v) {
  if (v.isArray()) return cOther;
  switch (v.kind()) {
    case VarKind::Empty: return cEmpty;
    case VarKind::Null: return cNull;
    case VarKind::ShortInt: case VarKind::Smallint: case VarKind::Integer: case VarKind::Byte: return cInteger;
    case VarKind::Single: case VarKind::Double: return cReal;
    case VarKind::Currency: return cCurrency;
    case VarKind::String: case VarKind::OleStr: return cString;
    case VarKind::Boolean: return cBoolean;
    case VarKind::Date: return cDate;
    case VarKind::Int64: case VarKind::Word: case VarKind::LongWord: return cInt64;
    default: return cOther;
  }
}

constexpr Class kOperationClass[9][9] = {
    // empty     null   integer   real      currency   string    boolean   date   int64
    {cEmpty, cNull, cInteger, cReal, cCurrency, cString, cBoolean, cDate, cInt64},                 // empty
    {cNull, cNull, cNull, cNull, cNull, cNull, cNull, cNull, cNull},                               // null
    {cInteger, cNull, cInteger, cReal, cCurrency, cReal, cInteger, cDate, cInt64},                 // integer
    {cReal, cNull, cReal, cReal, cCurrency, cReal, cReal, cDate, cReal},                           // real
    {cCurrency, cNull, cCurrency, cCurrency, cCurrency, cCurrency, cCurrency, cDate, cCurrency},  // currency
    {cString, cNull, cReal, cReal, cCurrency, cString, cBoolean, cDate, cReal},                    // string
    {cBoolean, cNull, cInteger, cReal, cCurrency, cBoolean, cBoolean, cDate, cInt64},              // boolean
    {cDate, cNull, cDate, cDate, cDate, cDate, cDate, cDate, cDate},                               // date
    {cInt64, cNull, cInt64, cReal, cCurrency, cReal, cInt64, cDate, cInt64},                       // int64
};

[[noreturn]] void Invalid() { throw EVariantError(fs_variant_messages::InvalidOperation); }

[[noreturn]] void CannotConvert(const Variant& value, VarKind target) {
  throw EVariantError(std::string("Could not convert variant of type (") +
                      (value.isArray() ? "Array" : VarKindName(value.kind())) + ") into type (" +
                      VarKindName(target) + ")");
}

// A text read as a number: in source form ("." decimal, "$" hexadecimal), or with the
// locale's decimal separator, so that a number written by fsVarToText reads back.
bool ValueTextToNumber(const std::string& text, Variant& number) {
  if (fsTextToNumber(text, number)) return true;
  double value = 0;
  if (!TryStrToFloat(text, value)) return false;
  number = Variant(value);
  return true;
}

// A text read as a number for an arithmetic of the given target kind.
double TextNumber(const Variant& value, VarKind target) {
  Variant number;
  if (!ValueTextToNumber(value.toString8(), number)) CannotConvert(value, target);
  return number.toDouble();
}

int64_t ToInt64(const Variant& v) {
  switch (ClassOf(v)) {
    case cEmpty: return 0;
    case cInteger: case cInt64: case cBoolean: return v.toInt64();
    case cReal: case cCurrency: case cDate: {
      double d = std::nearbyint(v.toDouble());
      if (!(d >= -9223372036854775808.0 && d < 9223372036854775808.0)) CannotConvert(v, VarKind::Int64);
      return static_cast<int64_t>(d);
    }
    case cString: {
      Variant number;
      if (!ValueTextToNumber(v.toString8(), number)) CannotConvert(v, VarKind::Int64);
      return ToInt64(number);
    }
    default: CannotConvert(v, VarKind::Int64);
  }
}

double ToDouble(const Variant& v, VarKind target = VarKind::Double) {
  switch (ClassOf(v)) {
    case cEmpty: return 0.0;
    case cInteger: case cInt64: case cBoolean: case cReal: case cCurrency: case cDate: return v.toDouble();
    case cString: return TextNumber(v, target);
    default: CannotConvert(v, target);
  }
}

Variant FromInt64(int64_t v) {
  if (v >= INT32_MIN && v <= INT32_MAX) return Variant(static_cast<int32_t>(v));
  return Variant(static_cast<double>(v));
}

void CheckTextLength(size_t length) {
  if (length > fs_limits::kMaxStringLength) throw EVariantError(fs_limits::kStringLengthMessage);
}

Variant Concatenate(const Variant& a, const Variant& b) {
  if (a.kind() == VarKind::OleStr || b.kind() == VarKind::OleStr) {
    std::u16string left = a.isText() ? a.toWide() : Variant(fsVarToText(a)).toWide();
    std::u16string right = b.isText() ? b.toWide() : Variant(fsVarToText(b)).toWide();
    CheckTextLength(left.size() + right.size());
    return Variant(left + right);
  }
  std::string left = fsVarToText(a);
  const std::string right = fsVarToText(b);
  CheckTextLength(left.size() + right.size());
  left += right;
  return Variant(std::move(left));
}

Variant RealOperate(TfsOperator op, double a, double b) {
  switch (op) {
    case TfsOperator::Add: return Variant(a + b);
    case TfsOperator::Subtract: return Variant(a - b);
    case TfsOperator::Multiply: return Variant(a * b);
    default:
      if (b == 0.0) throw EVariantError(fs_variant_messages::FloatDivisionByZero);
      return Variant(a / b);
  }
}

bool IsRealOperator(TfsOperator op) { return op <= TfsOperator::Divide; }

Variant IntegerOperate(TfsOperator op, int64_t a, int64_t b, bool wide) {
  auto result = [wide](int64_t v) { return wide ? Variant(v) : FromInt64(v); };
  switch (op) {
    case TfsOperator::Add:
      if (wide) return Variant(static_cast<int64_t>(static_cast<uint64_t>(a) + static_cast<uint64_t>(b)));
      return result(a + b);
    case TfsOperator::Subtract:
      if (wide) return Variant(static_cast<int64_t>(static_cast<uint64_t>(a) - static_cast<uint64_t>(b)));
      return result(a - b);
    case TfsOperator::Multiply:
      if (wide) return Variant(static_cast<int64_t>(static_cast<uint64_t>(a) * static_cast<uint64_t>(b)));
      return result(a * b);
    case TfsOperator::Divide:
      return RealOperate(op, static_cast<double>(a), static_cast<double>(b));
    case TfsOperator::IntDivide:
    case TfsOperator::Modulo: {
      if (b == 0) throw EVariantError(fs_variant_messages::DivisionByZero);
      if (b == -1) return op == TfsOperator::Modulo ? result(0) : result(static_cast<int64_t>(0 - static_cast<uint64_t>(a)));
      return result(op == TfsOperator::IntDivide ? a / b : a % b);
    }
    case TfsOperator::ShiftLeft:
      if (wide) return Variant(static_cast<int64_t>(static_cast<uint64_t>(a) << (b & 63)));
      return Variant(static_cast<int32_t>(static_cast<uint32_t>(a) << (b & 31)));
    case TfsOperator::ShiftRight:
      if (wide) return Variant(static_cast<int64_t>(static_cast<uint64_t>(a) >> (b & 63)));
      return Variant(static_cast<int32_t>(static_cast<uint32_t>(a) >> (b & 31)));
    case TfsOperator::And: return result(a & b);
    case TfsOperator::Or: return result(a | b);
    case TfsOperator::Xor: return result(a ^ b);
  }
  Invalid();
}

// Integer rules: both operands as 32-bit integers.
Variant Integer32Operate(TfsOperator op, const Variant& a, const Variant& b) {
  int64_t x = ToInt64(a), y = ToInt64(b);
  if (x < INT32_MIN || x > INT32_MAX) CannotConvert(a, VarKind::Integer);
  if (y < INT32_MIN || y > INT32_MAX) CannotConvert(b, VarKind::Integer);
  return IntegerOperate(op, x, y, false);
}

Variant CurrencyOperate(TfsOperator op, const Variant& a, const Variant& b) {
  auto scaled = [](const Variant& v) -> int64_t {
    if (v.kind() == VarKind::Currency) return v.currencyScaled();
    return static_cast<int64_t>(std::llround(ToDouble(v, VarKind::Currency) * 10000.0));
  };
  int64_t x = scaled(a), y = scaled(b);
  switch (op) {
    case TfsOperator::Add: return Variant::CurrencyScaled(x + y);
    case TfsOperator::Subtract: return Variant::CurrencyScaled(x - y);
    case TfsOperator::Multiply:
      return Variant::CurrencyScaled(static_cast<int64_t>(std::llround(static_cast<long double>(x) * y / 10000.0L)));
    case TfsOperator::Divide:
      if (y == 0) throw EVariantError(fs_variant_messages::DivisionByZero);
      return Variant::CurrencyScaled(static_cast<int64_t>(std::llround(static_cast<long double>(x) * 10000.0L / y)));
    default: return Integer32Operate(op, a, b);
  }
}

Variant DateOperate(TfsOperator op, const Variant& a, const Variant& b) {
  switch (op) {
    case TfsOperator::Add: return Variant::Date(ToDouble(a) + ToDouble(b));
    case TfsOperator::Subtract:
      if (a.kind() == VarKind::Date && b.kind() == VarKind::Date) return Variant(a.toDouble() - b.toDouble());
      return Variant::Date(ToDouble(a) - ToDouble(b));
    case TfsOperator::Multiply:
    case TfsOperator::Divide: return RealOperate(op, ToDouble(a), ToDouble(b));
    default: return Integer32Operate(op, a, b);
  }
}

int Sign(double d) { return d < 0 ? -1 : d > 0 ? 1 : 0; }

// -1, 0 or 1; raises for pairs that do not compare.
int Compare(const Variant& a, const Variant& b) {
  Class ca = ClassOf(a), cb = ClassOf(b);
  if (ca == cOther || cb == cOther) Invalid();
  if (ca == cEmpty || cb == cEmpty) return (ca == cEmpty ? 0 : 1) - (cb == cEmpty ? 0 : 1);
  if (ca == cString && cb == cString) {
    if (a.kind() == VarKind::String && b.kind() == VarKind::String) {
      int c = a.str().compare(b.str());  // std::string compares bytes as unsigned char
      return c < 0 ? -1 : c > 0 ? 1 : 0;
    }
    int c = a.toWide().compare(b.toWide());
    return c < 0 ? -1 : c > 0 ? 1 : 0;
  }
  if ((ca == cBoolean && cb == cString) || (ca == cString && cb == cBoolean)) {
    int x = fsVarToBoolean(a) ? 1 : 0, y = fsVarToBoolean(b) ? 1 : 0;
    return x - y;
  }
  bool wholeA = ca == cInteger || ca == cInt64 || ca == cBoolean;
  bool wholeB = cb == cInteger || cb == cInt64 || cb == cBoolean;
  if (wholeA && wholeB) {
    int64_t x = a.toInt64(), y = b.toInt64();
    return x < y ? -1 : x > y ? 1 : 0;
  }
  return Sign(ToDouble(a) - ToDouble(b));
}

}  // namespace

bool fsTextToNumber(const std::string& text, Variant& number) {
  size_t begin = text.find_first_not_of(' ');
  size_t end = text.find_last_not_of(' ');
  if (begin == std::string::npos) return false;
  std::string t = text.substr(begin, end - begin + 1);
  bool negative = false;
  size_t at = 0;
  if (t[0] == '-' || t[0] == '+') {
    negative = t[0] == '-';
    at = 1;
  }
  if (at < t.size() && t[at] == '$') {
    if (at + 1 >= t.size()) return false;
    uint64_t v = 0;
    for (size_t i = at + 1; i < t.size(); ++i) {
      if (!std::isxdigit(static_cast<unsigned char>(t[i]))) return false;
      if (v >> 60) return false;
      v = v * 16 + static_cast<uint64_t>(std::isdigit(static_cast<unsigned char>(t[i])) ? t[i] - '0' : (t[i] | 0x20) - 'a' + 10);
    }
    int64_t s = static_cast<int64_t>(v);
    number = FromInt64(negative ? -s : s);
    if (number.kind() == VarKind::Double) number = Variant(negative ? -s : s);
    return true;
  }
  bool digitsOnly = at < t.size() && t.find_first_not_of("0123456789", at) == std::string::npos;
  if (digitsOnly && t.size() - at <= 18) {
    int64_t v = std::strtoll(t.c_str() + at, nullptr, 10);
    if (negative) v = -v;
    if (v >= INT32_MIN && v <= INT32_MAX)
      number = Variant(static_cast<int32_t>(v));
    else
      number = Variant(v);
    return true;
  }
  if (t.find_first_not_of("0123456789.eE+-", at) != std::string::npos) return false;
  char* stop = nullptr;
  double d = std::strtod(t.c_str(), &stop);
  if (stop != t.c_str() + t.size()) return false;
  number = Variant(d);
  return true;
}

Variant fsVarOperate(TfsOperator op, const Variant& a, const Variant& b) {
  // The common case of scripts: two 32-bit integers.
  if (a.kind() == VarKind::Integer && b.kind() == VarKind::Integer && !a.isArray() && !b.isArray())
    return IntegerOperate(op, a.toInt64(), b.toInt64(), false);
  Class ca = ClassOf(a), cb = ClassOf(b);
  if (ca == cOther || cb == cOther) Invalid();
  switch (kOperationClass[ca][cb]) {
    case cEmpty: return Variant();
    case cNull: Invalid();
    case cInteger: return Integer32Operate(op, a, b);
    case cReal:
      if (IsRealOperator(op)) return RealOperate(op, ToDouble(a), ToDouble(b));
      return Integer32Operate(op, a, b);
    case cCurrency: return CurrencyOperate(op, a, b);
    case cString:
      if (op == TfsOperator::Add) return Concatenate(a, b);
      if (IsRealOperator(op)) return RealOperate(op, ToDouble(a), ToDouble(b));
      return Integer32Operate(op, a, b);
    case cBoolean:
      if (op == TfsOperator::And) return Variant(fsVarToBoolean(a) && fsVarToBoolean(b));
      if (op == TfsOperator::Or) return Variant(fsVarToBoolean(a) || fsVarToBoolean(b));
      if (op == TfsOperator::Xor) return Variant(fsVarToBoolean(a) != fsVarToBoolean(b));
      if (IsRealOperator(op)) return RealOperate(op, ToDouble(a), ToDouble(b));
      return Integer32Operate(op, a, b);
    case cDate: return DateOperate(op, a, b);
    case cInt64:
      if (op == TfsOperator::Divide) return RealOperate(op, ToDouble(a), ToDouble(b));
      return IntegerOperate(op, ToInt64(a), ToInt64(b), true);
    default: Invalid();
  }
}

bool fsVarOperateIntegersInPlace(TfsOperator op, Variant& a, const Variant& b) {
  if (a.kind() != VarKind::Integer || b.kind() != VarKind::Integer || a.isArray() || b.isArray()) return false;
  int64_t x = a.toInt64(), y = b.toInt64(), r;
  switch (op) {
    case TfsOperator::Add: r = x + y; break;
    case TfsOperator::Subtract: r = x - y; break;
    case TfsOperator::Multiply: r = x * y; break;
    default: return false;
  }
  if (r < INT32_MIN || r > INT32_MAX) return false;
  a = Variant(static_cast<int32_t>(r));
  return true;
}

bool fsVarCompare(TfsComparison comparison, const Variant& a, const Variant& b) {
  if (a.isNull() || b.isNull()) {
    bool same = a.isNull() && b.isNull();
    if (comparison == TfsComparison::Equal) return same;
    if (comparison == TfsComparison::NotEqual) return !same;
    Invalid();
  }
  int c = Compare(a, b);
  switch (comparison) {
    case TfsComparison::Greater: return c > 0;
    case TfsComparison::Less: return c < 0;
    case TfsComparison::LessEqual: return c <= 0;
    case TfsComparison::GreaterEqual: return c >= 0;
    case TfsComparison::NotEqual: return c != 0;
    case TfsComparison::Equal: return c == 0;
  }
  return false;
}

bool fsVarEquals(const Variant& a, const Variant& b) {
  try {
    return fsVarCompare(TfsComparison::Equal, a, b);
  } catch (const EVariantError&) {
    return false;
  }
}

Variant fsVarNegate(const Variant& v) {
  switch (ClassOf(v)) {
    case cEmpty: return Variant(int32_t{0});
    case cNull: return v;
    case cInteger: case cBoolean: return FromInt64(-v.toInt64());
    case cInt64: return Variant(static_cast<int64_t>(0 - static_cast<uint64_t>(v.toInt64())));
    case cReal: return Variant(-v.toDouble());
    case cCurrency: return Variant::CurrencyScaled(-v.currencyScaled());
    case cDate: return Variant::Date(-v.toDouble());
    case cString: {
      Variant number;
      if (!ValueTextToNumber(v.toString8(), number)) CannotConvert(v, VarKind::Double);
      return fsVarNegate(number);
    }
    default: Invalid();
  }
}

Variant fsVarNot(const Variant& v) {
  switch (ClassOf(v)) {
    case cNull: return v;
    case cBoolean: return Variant(!v.toBool());
    case cInt64: return Variant(~v.toInt64());
    case cEmpty: case cInteger: case cReal: case cCurrency: case cDate: {
      int64_t x = ToInt64(v);
      if (x < INT32_MIN || x > INT32_MAX) CannotConvert(v, VarKind::Integer);
      return Variant(~static_cast<int32_t>(x));
    }
    case cString: {
      std::string t = v.toString8();
      for (char& c : t) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      if (t == "TRUE" || t == "FALSE") return Variant(t == "FALSE");
      Variant number;
      if (!ValueTextToNumber(v.toString8(), number)) CannotConvert(v, VarKind::Boolean);
      return fsVarNot(number);
    }
    default: Invalid();
  }
}

int32_t fsVarToInteger(const Variant& v) {
  if (v.kind() == VarKind::Integer && !v.isArray()) return v.toInt32();
  int64_t x;
  if (ClassOf(v) == cString) {
    Variant number;
    if (!ValueTextToNumber(v.toString8(), number)) CannotConvert(v, VarKind::Integer);
    return fsVarToInteger(number);
  }
  if (ClassOf(v) == cNull || ClassOf(v) == cOther) CannotConvert(v, VarKind::Integer);
  x = ToInt64(v);
  if (x < INT32_MIN || x > INT32_MAX) CannotConvert(v, VarKind::Integer);
  return static_cast<int32_t>(x);
}

double fsVarToFloat(const Variant& v) {
  if (ClassOf(v) == cNull) CannotConvert(v, VarKind::Double);
  return ToDouble(v);
}

bool fsVarToBoolean(const Variant& v) {
  switch (ClassOf(v)) {
    case cEmpty: return false;
    case cBoolean: return v.toBool();
    case cInteger: case cInt64: case cReal: case cCurrency: case cDate: return v.toBool();
    case cString: {
      std::string t = v.toString8();
      for (char& c : t) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      if (t == "TRUE") return true;
      if (t == "FALSE") return false;
      return TextNumber(v, VarKind::Boolean) != 0.0;
    }
    default: CannotConvert(v, VarKind::Boolean);
  }
}

std::string fsVarToText(const Variant& v) {
  // Null has no text here (VarToStr maps it to the empty text itself).
  std::string text;
  if (ClassOf(v) == cNull || !TryVarToStr(v, text)) CannotConvert(v, VarKind::String);
  return text;
}
