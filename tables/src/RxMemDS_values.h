#pragma once
// Conversions between Variants and what a field of a given type stores.

#include <string>

#include "platform/Variant.h"
#include "tables/RxMemDS.h"

namespace rxmemds {

// `value` as the field type stores it: Null for Null, Empty and empty text; String for
// text and blobs, Integer, Boolean, Double, or Date otherwise. Text is not cut here.
// Raises EConvertError for text that does not read as the type, EVariantError for kinds
// that cannot become it.
Variant ToFieldValue(TFieldType type, const Variant& value);

// A value stored in a field of `type` as text; "" for null.
std::string FieldText(TFieldType type, const Variant& stored);

}  // namespace rxmemds
