#pragma once
// Modal message boxes of the program, and the standard error box (platform/ErrorBox.h)
// shown as one of them.

#include <string_view>

class QWidget;

namespace messagebox {

// A modal error box; `text` is 8-bit system text.
void ShowError(std::string_view text, QWidget* parent = nullptr);

// Routes ShowStandardError to ShowError; the program calls it once its application
// object exists.
void InstallStandardErrorBox();

}  // namespace messagebox
