// The text of a variant value, as scripts and memo texts write it.
#include "platform/Format.h"

bool TryVarToStr(const Variant& value, std::string& text, const TFormatSettings& settings) {
  text.clear();
  if (value.isArray()) return false;
  if (value.isText()) {
    text = value.toString8();
    return true;
  }
  switch (value.kind()) {
    case VarKind::Empty:
    case VarKind::Null:
      return true;
    case VarKind::Boolean:
      text = value.toBool() ? "True" : "False";
      return true;
    case VarKind::Date:
      text = DateTimeToStr(value.toDouble(), settings);
      return true;
    default:
      break;
  }
  if (value.isOrdinal()) {
    text = std::to_string(value.toInt64());
    return true;
  }
  if (value.isFloat()) {
    text = FloatToStr(value.toDouble(), settings);
    return true;
  }
  return false;
}
