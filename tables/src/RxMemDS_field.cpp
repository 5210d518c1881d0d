// TField: typed access to one field of the table's current record.
#include "RxMemDS_values.h"
#include "platform/Convert.h"
#include "tables/RxMemDS.h"

using rxmemds::FieldText;
using rxmemds::ToFieldValue;

int TField::DisplayWidth() const {
  switch (def_.DataType) {
    case TFieldType::ftString: return def_.Size;
    case TFieldType::ftDate:
    case TFieldType::ftTime:
    case TFieldType::ftDateTime: return 20;
    default: return 10;
  }
}

Variant TField::Value() const {
  const auto* record = table_->ActiveRecord();
  return record ? table_->ReadValue(*this, *record) : Variant::Null();
}

void TField::SetValue(const Variant& value) {
  // Converted first, so that a value the field cannot take leaves the record unmodified.
  const Variant stored = ToFieldValue(def_.DataType, value);
  table_->WriteValue(*this, table_->WritableRecord(*this), stored);
  if (table_->State() != TDataSetState::dsFilter) table_->DataEvent(TDataEvent::deRecordChange);
}

std::string TField::AsString() const { return FieldText(def_.DataType, Value()); }

int32_t TField::AsInteger() const {
  if (def_.DataType == TFieldType::ftString) {
    const auto* record = table_->ActiveRecord();
    return StrToInt(record ? table_->ReadText(*this, *record) : std::string_view());
  }
  const Variant value = Value();
  return value.isNull() ? 0 : ToFieldValue(TFieldType::ftInteger, value).toInt32();
}

double TField::AsFloat() const {
  const Variant value = Value();
  if (def_.DataType == TFieldType::ftString && value.isNull()) throw EConvertError("'' is not a valid floating point value");
  return value.isNull() ? 0.0 : ToFieldValue(TFieldType::ftFloat, value).toDouble();
}

bool TField::AsBoolean() const {
  const Variant value = Value();
  return !value.isNull() && ToFieldValue(TFieldType::ftBoolean, value).toBool();
}

double TField::AsDateTime() const {
  const Variant value = Value();
  return value.isNull() ? 0.0 : ToFieldValue(TFieldType::ftDateTime, value).toDouble();
}

std::string TField::DisplayText() const {
  if (IsBlob()) return IsNull() ? std::string() : std::string("(BLOB)");
  return AsString();
}
