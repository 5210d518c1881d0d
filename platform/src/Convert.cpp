#include "platform/Convert.h"

#include <cstdint>

namespace {
int DigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}
}  // namespace

std::optional<int> TryStrToInt(std::string_view text) {
  size_t pos = 0;
  while (pos < text.size() && text[pos] == ' ') ++pos;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) {
    negative = text[pos] == '-';
    ++pos;
  }
  int base = 10;
  if (pos < text.size() && (text[pos] == '$' || text[pos] == 'x' || text[pos] == 'X')) {
    base = 16;
    ++pos;
  } else if (pos + 1 < text.size() && text[pos] == '0' &&
             (text[pos + 1] == 'x' || text[pos + 1] == 'X')) {
    base = 16;
    pos += 2;
  }
  if (pos >= text.size()) return std::nullopt;
  // Hexadecimal text may spell the full 32-bit pattern ("$FFFFFFFF" is -1).
  const std::int64_t limit = base == 16 ? 0xFFFFFFFFLL : (negative ? 2147483648LL : 2147483647LL);
  std::int64_t value = 0;
  for (; pos < text.size(); ++pos) {
    const int digit = DigitValue(text[pos]);
    if (digit < 0 || digit >= base) return std::nullopt;
    value = value * base + digit;
    if (value > limit) return std::nullopt;
  }
  if (base == 16) value = static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
  return static_cast<int>(negative ? -value : value);
}

int StrToIntDef(std::string_view text, int defaultValue) {
  return TryStrToInt(text).value_or(defaultValue);
}

int StrToInt(std::string_view text) {
  if (auto value = TryStrToInt(text)) return *value;
  throw EConvertError("'" + std::string(text) + "' is not a valid integer value");
}
