#pragma once
// The application's standard error box. Library code that must show an error to the
// user without a window of its own (a failing table filter, an escaped job error) calls
// ShowStandardError; the program installs a handler that shows a modal message box.
// Without a handler the message goes to standard error, so nothing is ever lost.

#include <functional>
#include <string>

using StandardErrorHandler = std::function<void(const std::string& message)>;

// Installs the handler and returns the previous one (tests restore it).
StandardErrorHandler SetStandardErrorHandler(StandardErrorHandler handler);

// `message` is 8-bit text in the system code page.
void ShowStandardError(const std::string& message);
