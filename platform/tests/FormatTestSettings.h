#pragma once
// Locale records for the format tests: the fixed Polish record, and the same record with
// the separators of the English-speaking world ("." decimal, "," thousands).

#include <string>

#include "platform/CodePage.h"
#include "platform/FormatSettings.h"

inline const TFormatSettings& Polish() { return PolishFormatSettings(); }

inline const TFormatSettings& DotComma() {
  static const TFormatSettings settings = [] {
    TFormatSettings s = PolishFormatSettings();
    s.DecimalSeparator = '.';
    s.ThousandSeparator = ',';
    return s;
  }();
  return settings;
}

// Test texts are written in UTF-8; the system's texts are Windows-1250.
inline std::string Ansi(const char* utf8) { return codepage::Utf8ToAnsi(utf8); }
