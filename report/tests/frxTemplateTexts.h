#pragma once
// The bytes of a template file and of a report saved as a template, for tests that
// compare them.

#include <string>

#include "platform/Stream.h"
#include "report/frxClassReport.h"

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
