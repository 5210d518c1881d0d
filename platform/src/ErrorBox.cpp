#include "platform/ErrorBox.h"

#include <cstdio>
#include <utility>

#include "platform/CodePage.h"

namespace {
StandardErrorHandler& CurrentHandler() {
  static StandardErrorHandler handler;
  return handler;
}
}  // namespace

StandardErrorHandler SetStandardErrorHandler(StandardErrorHandler handler) {
  return std::exchange(CurrentHandler(), std::move(handler));
}

void ShowStandardError(const std::string& message) {
  if (auto& handler = CurrentHandler()) {
    handler(message);
    return;
  }
  std::fprintf(stderr, "%s\n", codepage::AnsiToUtf8(message).c_str());
}
