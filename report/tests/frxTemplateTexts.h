#pragma once
// The bytes of a template file and of a report saved as a template, for tests that
// compare them, and a component tree written and read through the serializer alone.

#include <string>
#include <vector>

#include "platform/Stream.h"
#include "report/frxClassReport.h"
#include "report/frxXMLSerializer.h"

inline std::string FileText(const std::string& path) {
  TMemoryStream m;
  m.LoadFromFile(path);
  return m.DataString();
}

inline std::string Saved(TfrxReport& report) {
  TMemoryStream m;
  report.SaveToStream(m);
  return m.DataString();
}

inline std::string Save(TfrxComponent& root, bool writeDefaults = false) {
  TMemoryStream out;
  TfrxXMLSerializer s(&out);
  s.WriteDefaults = writeDefaults;
  s.SaveRoot(&root, true, false);
  return out.DataString();
}

// Loads `xml` into `root`; returns the error texts.
inline std::vector<std::string> Load(TfrxComponent& root, const std::string& xml) {
  TMemoryStream in;
  in.WriteString(xml);
  in.SetPosition(0);
  TfrxXMLSerializer s(&in);
  s.LoadRoot(&root);
  return s.ErrorTexts();
}
