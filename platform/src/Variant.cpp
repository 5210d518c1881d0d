#include "platform/Variant.h"

#include <cmath>

#include "platform/CodePage.h"

const char* VarKindName(VarKind kind) {
  switch (kind) {
    case VarKind::Empty: return "Empty";
    case VarKind::Null: return "Null";
    case VarKind::Smallint: return "Smallint";
    case VarKind::Integer: return "Integer";
    case VarKind::Single: return "Single";
    case VarKind::Double: return "Double";
    case VarKind::Currency: return "Currency";
    case VarKind::Date: return "Date";
    case VarKind::OleStr: return "OleStr";
    case VarKind::Dispatch: return "Dispatch";
    case VarKind::Error: return "Error";
    case VarKind::Boolean: return "Boolean";
    case VarKind::Variant: return "Variant";
    case VarKind::Unknown: return "Unknown";
    case VarKind::ShortInt: return "ShortInt";
    case VarKind::Byte: return "Byte";
    case VarKind::Word: return "Word";
    case VarKind::LongWord: return "LongWord";
    case VarKind::Int64: return "Int64";
    case VarKind::String: return "String";
  }
  return "Unknown";
}

Variant::Variant(const Variant& other)
    : kind_(other.kind_), value_(other.value_),
      array_(other.array_ ? std::make_unique<VariantArray>(*other.array_) : nullptr) {}

Variant& Variant::operator=(const Variant& other) {
  if (this != &other) {
    kind_ = other.kind_;
    value_ = other.value_;
    array_ = other.array_ ? std::make_unique<VariantArray>(*other.array_) : nullptr;
  }
  return *this;
}

Variant Variant::Null() {
  Variant v;
  v.kind_ = VarKind::Null;
  return v;
}

Variant Variant::Currency(double value) {
  return CurrencyScaled(static_cast<int64_t>(std::llround(value * 10000.0)));
}

Variant Variant::CurrencyScaled(int64_t scaled) {
  Variant v;
  v.kind_ = VarKind::Currency;
  v.value_ = scaled;
  return v;
}

Variant Variant::Date(double days) {
  Variant v;
  v.kind_ = VarKind::Date;
  v.value_ = days;
  return v;
}

Variant Variant::Dispatch(void* object) {
  Variant v;
  v.kind_ = VarKind::Dispatch;
  v.value_ = object;
  return v;
}

Variant Variant::Error(int32_t code) {
  Variant v;
  v.kind_ = VarKind::Error;
  v.value_ = int64_t{code};
  return v;
}

Variant Variant::Array(int64_t low, int64_t high, VarKind elementKind) {
  return Array({VariantArray::Bound{low, high}}, elementKind);
}

Variant Variant::Array(std::vector<VariantArray::Bound> bounds, VarKind elementKind) {
  Variant v;
  v.kind_ = elementKind;
  v.array_ = std::make_unique<VariantArray>();
  v.array_->elementKind = elementKind;
  size_t total = bounds.empty() ? 0 : 1;
  for (const auto& b : bounds) total *= static_cast<size_t>(b.count());
  v.array_->bounds = std::move(bounds);
  v.array_->items.resize(total);
  return v;
}

uint16_t Variant::varType() const {
  auto code = static_cast<uint16_t>(kind_);
  return array_ ? static_cast<uint16_t>(code | varArrayFlag) : code;
}

bool Variant::isOrdinal() const {
  if (array_) return false;
  switch (kind_) {
    case VarKind::Smallint: case VarKind::Integer: case VarKind::ShortInt: case VarKind::Byte:
    case VarKind::Word: case VarKind::LongWord: case VarKind::Int64: case VarKind::Boolean:
      return true;
    default:
      return false;
  }
}

bool Variant::isFloat() const {
  if (array_) return false;
  return kind_ == VarKind::Single || kind_ == VarKind::Double || kind_ == VarKind::Currency ||
         kind_ == VarKind::Date;
}

void Variant::cannotConvert(VarKind target) const {
  throw EVariantError(std::string("Could not convert variant of type (") +
                      (array_ ? "Array" : VarKindName(kind_)) + ") into type (" + VarKindName(target) + ")");
}

int64_t Variant::toInt64() const {
  if (kind_ == VarKind::Boolean && !array_) return std::get<bool>(value_) ? -1 : 0;
  if (isOrdinal()) return std::get<int64_t>(value_);
  cannotConvert(VarKind::Int64);
}

int32_t Variant::toInt32() const {
  int64_t v = toInt64();
  if (v < INT32_MIN || v > INT32_MAX) cannotConvert(VarKind::Integer);
  return static_cast<int32_t>(v);
}

double Variant::toDouble() const {
  if (!array_) {
    if (kind_ == VarKind::Currency) return static_cast<double>(std::get<int64_t>(value_)) / 10000.0;
    if (isFloat()) return std::get<double>(value_);
    if (isOrdinal()) return static_cast<double>(toInt64());
  }
  cannotConvert(VarKind::Double);
}

bool Variant::toBool() const {
  if (kind_ == VarKind::Boolean && !array_) return std::get<bool>(value_);
  if (isOrdinal()) return std::get<int64_t>(value_) != 0;
  if (isFloat()) return toDouble() != 0.0;
  cannotConvert(VarKind::Boolean);
}

int64_t Variant::currencyScaled() const {
  if (kind_ == VarKind::Currency && !array_) return std::get<int64_t>(value_);
  if (isOrdinal()) return toInt64() * 10000;
  if (isFloat()) return static_cast<int64_t>(std::llround(toDouble() * 10000.0));
  cannotConvert(VarKind::Currency);
}

void* Variant::toDispatch() const {
  if (kind_ == VarKind::Dispatch && !array_) return std::get<void*>(value_);
  cannotConvert(VarKind::Dispatch);
}

const std::string& Variant::str() const {
  if (kind_ == VarKind::String && !array_) return std::get<std::string>(value_);
  cannotConvert(VarKind::String);
}

const std::u16string& Variant::wstr() const {
  if (kind_ == VarKind::OleStr && !array_) return std::get<std::u16string>(value_);
  cannotConvert(VarKind::OleStr);
}

std::string Variant::toString8() const {
  if (kind_ == VarKind::OleStr && !array_) return codepage::FromWide(std::get<std::u16string>(value_));
  return str();
}

std::u16string Variant::toWide() const {
  if (kind_ == VarKind::String && !array_) return codepage::ToWide(std::get<std::string>(value_));
  return wstr();
}

const VariantArray& Variant::array() const {
  if (!array_) throw EVariantError("Variant is not an array");
  return *array_;
}

VariantArray& Variant::array() {
  if (!array_) throw EVariantError("Variant is not an array");
  return *array_;
}

Variant& Variant::at(int64_t index) {
  VariantArray& a = array();
  if (a.bounds.size() != 1 || index < a.bounds[0].low || index > a.bounds[0].high)
    throw EVariantError("Variant or safe array index out of bounds");
  return a.items[static_cast<size_t>(index - a.bounds[0].low)];
}

const Variant& Variant::at(int64_t index) const {
  return const_cast<Variant*>(this)->at(index);
}

bool Variant::identical(const Variant& other) const {
  if (kind_ != other.kind_ || value_ != other.value_ || (array_ == nullptr) != (other.array_ == nullptr))
    return false;
  if (!array_) return true;
  if (array_->bounds.size() != other.array_->bounds.size() || array_->items.size() != other.array_->items.size())
    return false;
  for (size_t i = 0; i < array_->bounds.size(); ++i)
    if (array_->bounds[i].low != other.array_->bounds[i].low || array_->bounds[i].high != other.array_->bounds[i].high)
      return false;
  for (size_t i = 0; i < array_->items.size(); ++i)
    if (!array_->items[i].identical(other.array_->items[i])) return false;
  return true;
}
