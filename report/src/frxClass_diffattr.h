#pragma once
// Attribute writers of the compact difference form: each appends ` name="value"` when the
// value differs from the reference's. Floats differ by more than 0.0001 and use the
// template float text, booleans are "1" or "0", enumerations and sets their ordinal
// number, texts are escaped. Private to the report library.

#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

#include "report/frxClassProps.h"
#include "report/frxXML.h"

namespace frx_diff {

inline bool FloatDiffers(double a, double b) { return std::fabs(a - b) > 0.0001; }

inline void Attr(std::string& out, std::string_view name, std::string_view value) {
  out += ' ';
  out += name;
  out += "=\"";
  out += value;
  out += '"';
}

inline void FloatAttr(std::string& out, std::string_view name, double value, double reference) {
  if (FloatDiffers(value, reference)) Attr(out, name, frxFloatToStr(value));
}

inline void IntAttr(std::string& out, std::string_view name, int64_t value, int64_t reference) {
  if (value != reference) Attr(out, name, std::to_string(value));
}

inline void BoolAttr(std::string& out, std::string_view name, bool value, bool reference) {
  if (value != reference) Attr(out, name, value ? "1" : "0");
}

inline void TextAttr(std::string& out, std::string_view name, const std::string& value, const std::string& reference) {
  if (value != reference) Attr(out, name, EscapeXMLText(value));
}

}  // namespace frx_diff
