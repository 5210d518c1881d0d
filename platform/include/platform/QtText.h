#pragma once
// 8-bit system text (Windows-1250) in and out of Qt's strings, for the windows that
// show and edit it.

#include <QString>
#include <string>
#include <string_view>

#include "platform/CodePage.h"

inline QString FromAnsi(std::string_view text) {
  return QString::fromStdU16String(codepage::ToWide(text));
}

inline std::string ToAnsi(const QString& text) {
  return codepage::FromWide(text.toStdU16String());
}
