#pragma once
// The shape of an IL tree for comparing parses: element names with their text and unit
// attributes, positions left out.
#include <string>

#include "script/fs_iilparser.h"
#include "script/fs_iinterpreter.h"

inline std::string Shape(const TfsXMLItem& item) {
  std::string out = item.Name();
  // Appended piece by piece: GCC 12 at -O3 warns falsely on chains of string "+".
  if (item.HasProp("text")) out.append("(").append(item.Prop("text")).append(")");
  if (item.HasProp("unit")) out.append("[").append(item.Prop("unit")).append("]");
  if (item.Count() > 0) {
    out += "{";
    for (int i = 0; i < item.Count(); ++i) out.append(i ? " " : "").append(Shape(item[i]));
    out += "}";
  }
  return out;
}

// The shape of `source` parsed in `language`, or "error POSITION: MESSAGE".
inline std::string ShapeOf(const std::string& language, const std::string& source) {
  TfsScript script;
  TfsILParser parser(&script);
  parser.LoadGrammar(language);
  if (!parser.SourceToIL(source)) return "error " + parser.ErrorPosition + ": " + parser.ErrorMessage;
  return Shape(parser.ILDocument().Root());
}
