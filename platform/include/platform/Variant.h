#pragma once
// The one tagged value exchanged by scripts, expressions, report variables and dataset
// fields. A Variant knows its kind (the codes scripts see through VarType) and holds the
// value in the C++ type that kind stands for. It does no implicit arithmetic and no
// text-to-number conversion: those rules belong to the expression engine, which works on
// Variants through kind() and the typed readers below.
//
// Arrays are values too: copying a Variant that holds an array copies its elements.

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

enum class VarKind : uint16_t {
  Empty = 0,
  Null = 1,
  Smallint = 2,   // 16-bit integer
  Integer = 3,    // 32-bit integer
  Single = 4,
  Double = 5,
  Currency = 6,   // fixed point, four decimals
  Date = 7,       // days since 30 December 1899, fraction = time of day
  OleStr = 8,     // wide text (UTF-16)
  Dispatch = 9,   // automation object
  Error = 10,
  Boolean = 11,
  Variant = 12,   // element kind of arrays of variants
  Unknown = 13,
  ShortInt = 16,  // 8-bit signed
  Byte = 17,
  Word = 18,
  LongWord = 19,  // 32-bit unsigned
  Int64 = 20,
  String = 256,   // 8-bit text in the system code page
};

constexpr uint16_t varArrayFlag = 8192;
constexpr uint16_t varTypeMask = 4095;

// Raised when a value is read as a type its kind cannot give without conversion rules.
class EVariantError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Name of a kind as the conversion messages write it ("Integer", "String", "OleStr", ...).
const char* VarKindName(VarKind kind);

class Variant;

// Elements of an array variant: one dimension or more, each with its own bounds.
struct VariantArray {
  struct Bound {
    int64_t low;
    int64_t high;
    int64_t count() const { return high >= low ? high - low + 1 : 0; }
  };
  VarKind elementKind = VarKind::Variant;
  std::vector<Bound> bounds;
  std::vector<Variant> items;  // row-major over the dimensions
};

class Variant {
 public:
  Variant() = default;  // Empty
  Variant(bool v) : kind_(VarKind::Boolean), value_(v) {}
  Variant(int8_t v) : kind_(VarKind::ShortInt), value_(int64_t{v}) {}
  Variant(uint8_t v) : kind_(VarKind::Byte), value_(int64_t{v}) {}
  Variant(int16_t v) : kind_(VarKind::Smallint), value_(int64_t{v}) {}
  Variant(uint16_t v) : kind_(VarKind::Word), value_(int64_t{v}) {}
  Variant(int32_t v) : kind_(VarKind::Integer), value_(int64_t{v}) {}
  Variant(uint32_t v) : kind_(VarKind::LongWord), value_(int64_t{v}) {}
  Variant(int64_t v) : kind_(VarKind::Int64), value_(v) {}
  Variant(long long v) : Variant(static_cast<int64_t>(v)) {}
  Variant(float v) : kind_(VarKind::Single), value_(double{v}) {}
  Variant(double v) : kind_(VarKind::Double), value_(v) {}
  Variant(const char* v) : kind_(VarKind::String), value_(std::string(v)) {}
  Variant(std::string v) : kind_(VarKind::String), value_(std::move(v)) {}
  Variant(std::u16string v) : kind_(VarKind::OleStr), value_(std::move(v)) {}
  Variant(const char16_t* v) : kind_(VarKind::OleStr), value_(std::u16string(v)) {}

  Variant(const Variant& other);
  Variant(Variant&&) noexcept = default;
  Variant& operator=(const Variant& other);
  Variant& operator=(Variant&&) noexcept = default;
  ~Variant() = default;

  static Variant Null();
  static Variant Currency(double value);           // rounded to four decimals
  static Variant CurrencyScaled(int64_t scaled);   // value * 10000
  static Variant Date(double days);
  static Variant Dispatch(void* object);
  static Variant Error(int32_t code);
  // A one-dimensional array [low..high] of elements of `elementKind`, each Empty.
  static Variant Array(int64_t low, int64_t high, VarKind elementKind = VarKind::Variant);
  static Variant Array(std::vector<VariantArray::Bound> bounds, VarKind elementKind = VarKind::Variant);

  VarKind kind() const { return kind_; }
  // The code a script sees through VarType: the kind, plus the array flag for arrays.
  uint16_t varType() const;

  bool isEmpty() const { return kind_ == VarKind::Empty && !array_; }
  bool isNull() const { return kind_ == VarKind::Null; }
  bool isArray() const { return array_ != nullptr; }
  bool isText() const { return !array_ && (kind_ == VarKind::String || kind_ == VarKind::OleStr); }
  bool isOrdinal() const;   // integer kinds and Boolean
  bool isFloat() const;     // Single, Double, Currency, Date
  bool isNumeric() const { return isOrdinal() || isFloat(); }

  // Typed readers. Each reads the kinds that hold its type exactly (integers of any
  // width, floats of any kind, either text kind through the system code page) and
  // raises EVariantError "Could not convert variant of type (X) into type (Y)" otherwise.
  int64_t toInt64() const;
  int32_t toInt32() const;
  double toDouble() const;
  bool toBool() const;
  int64_t currencyScaled() const;
  void* toDispatch() const;
  const std::string& str() const;          // String kind only
  const std::u16string& wstr() const;      // OleStr kind only
  std::string toString8() const;           // either text kind, as 8-bit text
  std::u16string toWide() const;           // either text kind, as wide text

  // Array access; raise EVariantError when this is not an array or the index is out of bounds.
  const VariantArray& array() const;
  VariantArray& array();
  Variant& at(int64_t index);
  const Variant& at(int64_t index) const;

  // Same kind and same value (arrays element by element). Not the script's "=".
  bool identical(const Variant& other) const;

 private:
  using Payload = std::variant<std::monostate, bool, int64_t, double, std::string, std::u16string, void*>;

  [[noreturn]] void cannotConvert(VarKind target) const;

  VarKind kind_ = VarKind::Empty;
  Payload value_;
  std::unique_ptr<VariantArray> array_;
};
